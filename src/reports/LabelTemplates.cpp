#include "LabelTemplates.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QMap>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

QString LabelTemplate::Title() const
{
    return description.isEmpty() ? Name() : Name() + QStringLiteral(" - ") + description;
}

namespace LabelTemplates {

namespace {

QString Key(const QString& brand, const QString& part)
{
    return (brand + QLatin1Char('\n') + part).toCaseFolded();
}

// Paper sizes by their id ("US-Letter", "A4").
QHash<QString, QSizeF> Paper_Sizes(const QString& folder)
{
    QHash<QString, QSizeF> sizes;
    QFile f(QDir(folder).filePath(QStringLiteral("paper-sizes.xml")));
    if (f.open(QIODevice::ReadOnly)) {
        QXmlStreamReader xml(&f);
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("Paper-size")) {
                const auto a = xml.attributes();
                sizes.insert(a.value(QLatin1String("id")).toString(),
                             QSizeF(Length(a.value(QLatin1String("width")).toString()),
                                    Length(a.value(QLatin1String("height")).toString())));
            }
        }
    }
    // The two sheets almost every label comes on, should the file be missing.
    sizes.insert(QStringLiteral("US-Letter"), QSizeF(612, 792));
    sizes.insert(QStringLiteral("A4"), QSizeF(Length(QStringLiteral("210mm")), Length(QStringLiteral("297mm"))));
    return sizes;
}

struct Pending {
    LabelTemplate t;
    QString equiv;   // the base part, for an equivalent
    QString problem; // why the sheet is refused; "" when it is not
    bool usable = false;
};

QString Count(qint64 n)
{
    return QLocale(QLocale::English).toString(n);
}

// One Template element, read up to its end. The labels' positions are made
// only when wanted, and never more than kMaxLabels of them: the counts and
// extents of the layouts are checked first, from their numbers alone.
Pending Read_Template(QXmlStreamReader& xml, const QHash<QString, QSizeF>& paper, bool positions)
{
    Pending p;
    const auto a = xml.attributes();
    p.t.brand = a.value(QLatin1String("brand")).toString();
    p.t.part = a.value(QLatin1String("part")).toString();
    p.t.description = a.value(QLatin1String("_description")).toString();
    p.equiv = a.value(QLatin1String("equiv")).toString();
    const QString size = a.value(QLatin1String("size")).toString();
    if (size == QLatin1String("Other"))
        p.t.page = QSizeF(Length(a.value(QLatin1String("width")).toString()), Length(a.value(QLatin1String("height")).toString()));
    else
        p.t.page = paper.value(size);
    const bool pageOk = std::isfinite(p.t.page.width()) && std::isfinite(p.t.page.height()) && p.t.page.width() > 0
        && p.t.page.height() > 0;
    if (pageOk && (p.t.page.width() > kMaxPage || p.t.page.height() > kMaxPage))
        p.problem = QStringLiteral("a page of %1 by %2 points, larger than any sheet of labels")
                        .arg(p.t.page.width(), 0, 'g', 6)
                        .arg(p.t.page.height(), 0, 'g', 6);
    bool haveLabel = false;
    qint64 count = 0;
    // A label may be given a point larger than its page, as some are.
    constexpr double kSlack = 1.0;
    // Elements nest Template > Label-xxx > Layout; the depth tells when the
    // template ends.
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            --depth;
            continue;
        }
        if (!xml.isStartElement())
            continue;
        ++depth;
        const auto e = xml.attributes();
        const QString name = xml.name().toString();
        if (name.startsWith(QLatin1String("Label-")) && !haveLabel) {
            const double w = Length(e.value(QLatin1String("width")).toString());
            const double h = Length(e.value(QLatin1String("height")).toString());
            const double r = Length(e.value(QLatin1String("radius")).toString());
            if (w > 0 && h > 0)
                p.t.label = QSizeF(w, h);
            else if (r > 0)
                p.t.label = QSizeF(2 * r, 2 * r);
            haveLabel = p.t.label.isValid() && !p.t.label.isEmpty() && std::isfinite(p.t.label.width())
                && std::isfinite(p.t.label.height());
            if (haveLabel && pageOk && p.problem.isEmpty()
                && (p.t.label.width() > p.t.page.width() + kSlack || p.t.label.height() > p.t.page.height() + kSlack))
                p.problem = QStringLiteral("labels larger than the page");
        } else if (name == QLatin1String("Layout")) {
            const qint64 nx = e.value(QLatin1String("nx")).toLongLong(), ny = e.value(QLatin1String("ny")).toLongLong();
            const double x0 = Length(e.value(QLatin1String("x0")).toString());
            const double y0 = Length(e.value(QLatin1String("y0")).toString());
            const double dx = e.hasAttribute(QLatin1String("dx")) ? Length(e.value(QLatin1String("dx")).toString()) : 0;
            const double dy = e.hasAttribute(QLatin1String("dy")) ? Length(e.value(QLatin1String("dy")).toString()) : 0;
            if (nx <= 0 || ny <= 0 || !(x0 >= 0 && y0 >= 0 && dx >= 0 && dy >= 0))
                continue;
            // Counted in floating point, so that 50,000 by 50,000 is refused
            // and never wraps round to a small number.
            const double total = double(count) + double(nx) * double(ny);
            if (total > kMaxLabels) {
                p.problem = QStringLiteral("%1 labels on one sheet, more than %2")
                                .arg(total < 1e15 ? Count(qint64(total)) : QString::number(total, 'g', 3), Count(kMaxLabels));
                count = kMaxLabels + 1;
                continue;
            }
            count = qint64(total);
            // Real sheets let their last labels run a little past the edge
            // (bleed); a label that starts beyond the page is damage.
            if (pageOk && p.problem.isEmpty()
                && (x0 + double(nx - 1) * dx >= p.t.page.width() || y0 + double(ny - 1) * dy >= p.t.page.height()))
                p.problem = QStringLiteral("labels beyond the edge of the page");
            if (positions && p.problem.isEmpty())
                for (qint64 row = 0; row < ny; ++row)
                    for (qint64 col = 0; col < nx; ++col)
                        p.t.positions << QPointF(x0 + double(col) * dx, y0 + double(row) * dy);
        }
    }
    // Several layouts on one sheet fill together, row by row from the top.
    std::stable_sort(p.t.positions.begin(), p.t.positions.end(), [](const QPointF& a, const QPointF& b) {
        return std::abs(a.y() - b.y()) > 0.01 ? a.y() < b.y() : a.x() < b.x();
    });
    p.usable = haveLabel && count > 0 && pageOk;
    if (!positions)
        p.t.positions.clear();
    return p;
}

} // namespace

QString Default_Folder()
{
    return QStringLiteral("/usr/share/libglabels-3.0/templates");
}

double Length(const QString& text)
{
    static const std::pair<const char*, double> units[] = {
        {"in", 72.0}, {"mm", 72.0 / 25.4}, {"cm", 72.0 / 2.54}, {"pc", 12.0}, {"pt", 1.0}};
    QString t = text.trimmed();
    double factor = 1.0;
    for (const auto& [unit, f] : units)
        if (t.endsWith(QLatin1String(unit))) {
            t.chop(int(qstrlen(unit)));
            factor = f;
            break;
        }
    bool ok = false;
    const double v = t.trimmed().toDouble(&ok);
    return ok ? v * factor : -1;
}

QList<LabelTemplate> Read_Folder(const QString& folder, QString* error, QStringList* refused)
{
    const QHash<QString, QSizeF> paper = Paper_Sizes(folder);
    QHash<QString, LabelTemplate> bases;
    QHash<QString, QString> refusedBases; // key -> reason
    QList<Pending> equivalents;
    const QStringList files = QDir(folder).entryList({QStringLiteral("*-templates.xml")}, QDir::Files, QDir::Name);
    for (const QString& name : files) {
        QFile f(QDir(folder).filePath(name));
        if (!f.open(QIODevice::ReadOnly)) {
            if (error)
                *error = f.fileName() + QStringLiteral(": ") + f.errorString();
            continue;
        }
        QXmlStreamReader xml(&f);
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement() || xml.name() != QLatin1String("Template"))
                continue;
            Pending p = Read_Template(xml, paper, false);
            p.t.file = f.fileName();
            p.t.basePart = p.t.part;
            if (!p.equiv.isEmpty()) {
                equivalents << p;
            } else if (!p.problem.isEmpty()) {
                refusedBases.insert(Key(p.t.brand, p.t.part), p.problem);
                if (refused)
                    *refused << QStringLiteral("%1 in %2: %3").arg(p.t.Name(), QDir::toNativeSeparators(p.t.file), p.problem);
            } else if (p.usable) {
                bases.insert(Key(p.t.brand, p.t.part), p.t);
            }
        }
        if (xml.hasError() && error)
            *error = f.fileName() + QStringLiteral(": ") + xml.errorString();
    }
    QList<LabelTemplate> all = bases.values();
    for (const Pending& e : equivalents) {
        const QString baseKey = Key(e.t.brand, e.equiv);
        if (refusedBases.contains(baseKey) && refused)
            *refused << QStringLiteral("%1 in %2: the same sheet as %3 %4, which has %5")
                            .arg(e.t.Name(), QDir::toNativeSeparators(e.t.file), e.t.brand, e.equiv,
                                 refusedBases.value(baseKey));
        const auto base = bases.constFind(baseKey);
        if (base == bases.constEnd() || bases.contains(Key(e.t.brand, e.t.part)))
            continue;
        LabelTemplate t = base.value();
        t.part = e.t.part;
        if (!e.t.description.isEmpty())
            t.description = e.t.description;
        all << t;
    }
    // Within a brand, parts that are numbers first, in numeric order (5160
    // before 15160), then the others by name. One key per sheet keeps the
    // order a true order: comparing numbers with some parts and text with
    // others is not one, and the sort's result would depend on chance.
    std::stable_sort(all.begin(), all.end(), [](const LabelTemplate& a, const LabelTemplate& b) {
        const int byBrand = QString::compare(a.brand, b.brand, Qt::CaseInsensitive);
        if (byBrand != 0)
            return byBrand < 0;
        const qlonglong na = a.part.toLongLong(), nb = b.part.toLongLong();
        const bool numberA = na > 0, numberB = nb > 0;
        if (numberA != numberB)
            return numberA;
        if (numberA && na != nb)
            return na < nb;
        return QString::compare(a.part, b.part, Qt::CaseInsensitive) < 0;
    });
    return all;
}

std::optional<LabelTemplate> Load(const LabelTemplate& sheet)
{
    if (sheet.file.isEmpty())
        return sheet.positions.isEmpty() ? std::nullopt : std::optional<LabelTemplate>(sheet);
    QFile f(sheet.file);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QHash<QString, QSizeF> paper = Paper_Sizes(QFileInfo(sheet.file).absolutePath());
    QXmlStreamReader xml(&f);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QLatin1String("Template"))
            continue;
        const auto a = xml.attributes();
        if (Key(a.value(QLatin1String("brand")).toString(), a.value(QLatin1String("part")).toString())
                != Key(sheet.brand, sheet.basePart)
            || a.hasAttribute(QLatin1String("equiv"))) {
            xml.skipCurrentElement();
            continue;
        }
        Pending p = Read_Template(xml, paper, true);
        if (!p.usable || !p.problem.isEmpty())
            return std::nullopt;
        LabelTemplate t = sheet;
        t.page = p.t.page;
        t.label = p.t.label;
        t.positions = p.t.positions;
        return t;
    }
    return std::nullopt;
}

LabelTemplate Avery5160()
{
    LabelTemplate t;
    t.brand = QStringLiteral("Avery");
    t.part = QStringLiteral("5160");
    t.description = QStringLiteral("Address Labels");
    t.page = QSizeF(612, 792);
    t.label = QSizeF(2.625 * 72, 72);
    for (int row = 0; row < 10; ++row)
        for (int col = 0; col < 3; ++col)
            t.positions << QPointF(0.15625 * 72 + col * 2.78125 * 72, 0.5 * 72 + row * 72);
    return t;
}

namespace {
struct InstalledSheets {
    QList<LabelTemplate> sheets;
    QStringList refused;
};
const InstalledSheets& Installed_Sheets()
{
    static const InstalledSheets installed = [] {
        InstalledSheets i;
        i.sheets = Read_Folder(Default_Folder(), nullptr, &i.refused);
        const LabelTemplate builtIn = Avery5160();
        if (std::none_of(i.sheets.cbegin(), i.sheets.cend(),
                         [&builtIn](const LabelTemplate& t) { return t.Name() == builtIn.Name(); }))
            i.sheets.prepend(builtIn);
        return i;
    }();
    return installed;
}
} // namespace

const QList<LabelTemplate>& Installed()
{
    return Installed_Sheets().sheets;
}

const QStringList& Refused()
{
    return Installed_Sheets().refused;
}

std::optional<LabelTemplate> Find(const QList<LabelTemplate>& sheets, const QString& name)
{
    const QString wanted = name.trimmed();
    for (const LabelTemplate& t : sheets)
        if (t.Name().compare(wanted, Qt::CaseInsensitive) == 0 || t.Title().compare(wanted, Qt::CaseInsensitive) == 0)
            return Load(t);
    return std::nullopt;
}

} // namespace LabelTemplates
