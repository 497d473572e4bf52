#pragma once

// What nearly every test of the books needs: a data set of its own, the
// connection and the program's helpers.
#include "shell/Helpers.h"
#include "shell/modGlobal.h"
#include "storage/Connection.h"
#include "storage/Recordset.h"
#include "storage/clsChurch.h"

#include <QDir>
#include <QFile>
#include <QtTest/QTest>

#include "support/TestDataSet.h"
