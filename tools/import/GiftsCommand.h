#pragma once

#include <QStringList>

// qv-import gifts CSV DATA --mapping NAME [--add-contributors]; the exit code.
int Gifts_Command(const QStringList& args);
