// Writes EMPTY.MDB: a data file with every table and index but no rows. The
// program adds the Church row and the main fund on its first start.
#include "core/modGlobal.h"
#include "core/Connection.h"
#include "core/DbError.h"
#include "storage/Schema.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: qv-make-empty FILE\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QFile::remove(path);
    try {
        modGlobal::SetDB(std::make_unique<Connection>(Connection::Create(path)));
        for (int t = 0; t < modGlobal::TableCount; ++t)
            Schema::CreateTable(modGlobal::TableIndex(t));
        modGlobal::CloseDB();
    } catch (const DbError& e) {
        std::fprintf(stderr, "qv-make-empty: %s\n", e.what());
        return 1;
    }
    return 0;
}
