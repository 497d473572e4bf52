#pragma once

// What nearly every test of the books needs: a data set of its own, the
// connection and the program's helpers.
#include "core/Helpers.h"
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "core/Recordset.h"
#include "storage/clsChurch.h"

#include <QDir>
#include <QFile>
#include <QtTest/QTest>

#include "support/TestDataSet.h"
