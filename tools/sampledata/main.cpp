// qv-sample: writes a sample data set, for a demonstration or a benchmark.
//   qv-sample FILE [--contributors N] [--years N] [--last-year YYYY] [--seed N]
#include "SampleData.h"
#include "core/DbError.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    SampleData::Params p;
    QString out;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto next = [&]() { return i + 1 < args.size() ? args[++i].toLongLong() : 0; };
        if (a == QLatin1String("--contributors"))
            p.contributors = int(next());
        else if (a == QLatin1String("--years"))
            p.years = int(next());
        else if (a == QLatin1String("--last-year"))
            p.lastYear = int(next());
        else if (a == QLatin1String("--seed"))
            p.seed = quint64(next());
        else if (out.isEmpty() && !a.startsWith(QLatin1String("--")))
            out = a;
        else {
            std::fprintf(stderr, "qv-sample: unknown argument %s\n", qPrintable(a));
            return 2;
        }
    }
    if (out.isEmpty() || p.contributors < 0 || p.years < 1) {
        std::fprintf(stderr, "usage: qv-sample FILE [--contributors N] [--years N] [--last-year YYYY] [--seed N]\n");
        return 2;
    }
    try {
        const auto c = SampleData::CreateFile(out, p);
        std::printf("%s: %d funds, %d contributors, %d pledges, %d collection sets, %d offerings, %d comments\n",
                    qPrintable(out), c.funds + 1, c.contributors, c.pledges, c.collections, c.offerings, c.comments);
    } catch (const DbError& e) {
        std::fprintf(stderr, "qv-sample: %s\n", e.what());
        return 1;
    }
    return 0;
}
