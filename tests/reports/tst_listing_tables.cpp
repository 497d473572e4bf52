// The tables of the fund report, the memorial donor labels, the telephone
// directory, the mailing labels and the envelope box labels, value by
// value; and the label template reader on the installed templates.
#include "reports/LabelTemplates.h"
#include "reports/ListingTables.h"
#include "support/ChurchSettings.h"
#include "support/CoreTest.h"

using namespace modGlobal;
using Listings::Selection;

namespace {
const QString CRLF = QStringLiteral("\r\n");

QStringList Column(const ReportTable& t, const char* field)
{
    QStringList out;
    for (int r = 0; r < t.RowCount(); ++r)
        out << t.Text(r, QLatin1String(field));
    return out;
}

// The rows in the order the layouts print them: by SortField.
QStringList SortedColumn(const ReportTable& t, const char* field)
{
    QList<int> order;
    for (int r = 0; r < t.RowCount(); ++r)
        order << r;
    std::stable_sort(order.begin(), order.end(), [&t](int a, int b) {
        return QString::compare(t.Text(a, "SortField"), t.Text(b, "SortField"), Qt::CaseInsensitive) < 0;
    });
    QStringList out;
    for (int r : order)
        out << t.Text(r, QLatin1String(field));
    return out;
}
} // namespace

class tst_ListingTables : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_data.reset(); }
    void fundLists();
    void nothingChosenGivesNoReport();
    void fundReportLinesAndTitles();
    void fundReportOfARangeWithoutGifts();
    void memorialLabelsOnePerDonorAfterTheSkipped();
    void skipCountFromTypedText();
    void directoryBySelectionAndOrder();
    void mailingLabelsByZipAndName();
    void envelopeLabels();
    void templateReaderOnTheInstalledFiles();
    void templateLengthsAndLayouts();

private:
    void SetAddress(int id, const QString& a1, const QString& city, const QString& zip, const QString& phone);

    std::unique_ptr<TestDataSet> m_data;
    int m_memorial = 0, m_building = 0, m_flowers = 0;
    int m_smith = 0, m_jones = 0, m_adams = 0, m_gone = 0;
};

void tst_ListingTables::SetAddress(int id, const QString& a1, const QString& city, const QString& zip, const QString& phone)
{
    m_data->DB().Execute(QStringLiteral("UPDATE Contributors SET Address1 = '%1', City = '%2', State = 'IL', ZipCode = '%3',"
                                        " Phone = '%4' WHERE ID = %5")
                             .arg(a1, city, zip, phone)
                             .arg(id));
}

void tst_ListingTables::init()
{
    m_data = std::make_unique<TestDataSet>();
    m_memorial = m_data->AddFund("Memorial Fund", false, true);
    m_building = m_data->AddFund("Building Fund");
    m_flowers = m_data->AddFund("Altar Flowers", false, false);
    m_smith = m_data->AddContributor("Smith", "John & Mary");
    m_jones = m_data->AddContributor("Jones", "Ann");
    m_adams = m_data->AddContributor("Adams", "Zoe", false);
    m_gone = m_data->AddContributor("Zimmer", "Old", true, true);
    SetAddress(m_smith, "12 Elm St", "Springfield", "62704", "555-0102");
    SetAddress(m_jones, "4 Oak Ave", "Peoria", "61602", " 555-0101 ");
    SetAddress(m_adams, "9 Pine Rd", "Springfield", "62701", "555-0300");
    SetAddress(m_gone, "1 Last Ln", "Alton", "62002", "555-0999");
    SetChurch("Grace Church");
}

void tst_ListingTables::fundLists()
{
    const int c = m_data->AddCollection(QDate(2025, 3, 2));
    m_data->AddOffering(m_smith, c, -2024, 10);
    m_data->AddOffering(m_smith, c, -2025, 10);
    m_data->AddOffering(m_jones, c, -2025, 10);
    m_data->AddPledge(m_smith, -2025, 100, 3);
    m_data->AddPledge(m_jones, m_building, 100, 4);

    QStringList texts;
    QList<int> ids;
    for (const auto& item : Listings::Offering_Fund_List()) {
        texts << item.text;
        ids << item.id;
    }
    // The years of the main fund (ordered on the fund reference, so the
    // earlier year first), then the other funds by name.
    QCOMPARE(texts, QStringList({"2024 Operating Fund", "2025 Operating Fund", "Altar Flowers", "Building Fund", "Memorial Fund"}));
    QCOMPARE(ids, QList<int>({-2024, -2025, m_flowers, m_building, m_memorial}));

    texts.clear();
    for (const auto& item : Listings::Pledge_Fund_List())
        texts << item.text;
    QCOMPARE(texts, QStringList({"2025 Operating Fund", "Building Fund"})); // only pledgeable funds
}

void tst_ListingTables::nothingChosenGivesNoReport()
{
    const int c = m_data->AddCollection(QDate(2025, 3, 2));
    m_data->AddOffering(m_smith, c, m_memorial, 25);
    Selection none;
    none.begin = QDate(2025, 1, 1);
    none.end = QDate(2025, 12, 31);
    QVERIFY(!Listings::Fund_Report(none, true));
    QVERIFY(!Listings::Memorial_Labels(none, 0));
    // Collection Set chosen but no set clicked yet: still nothing.
    Selection noSet = none;
    noSet.fundID = m_memorial;
    noSet.byCollection = true;
    QVERIFY(!Listings::Fund_Report(noSet, true));
    QVERIFY(!Listings::Memorial_Labels(noSet, 2));
    noSet.collectionID = c;
    QVERIFY(Listings::Fund_Report(noSet, true));
    // Neither Show box: nothing to build.
    QVERIFY(!Listings::Telephone_Directory(false, false, false));
    QVERIFY(!Listings::Mailing_Labels(false, false, true, 3));
    QVERIFY(!Listings::Envelope_Labels(0, false, 2));
}

void tst_ListingTables::fundReportLinesAndTitles()
{
    const int c1 = m_data->AddCollection(QDate(2025, 3, 9), "Lent");
    const int c2 = m_data->AddCollection(QDate(2025, 3, 2));
    const int c3 = m_data->AddCollection(QDate(2025, 7, 6)); // outside the range
    m_data->AddOffering(m_smith, c1, m_memorial, 25);
    m_data->AddOffering(1, c1, m_memorial, 7.5);
    m_data->AddOffering(m_jones, c2, m_memorial, 40);
    m_data->AddOffering(m_adams, c1, m_memorial, 10);
    m_data->AddOffering(m_adams, c1, m_building, 99); // another fund
    m_data->AddOffering(m_jones, c3, m_memorial, 1000);

    Selection s{m_memorial, false, 0, QDate(2025, 3, 1), QDate(2025, 3, 31)};
    auto t = Listings::Fund_Report(s, true);
    QVERIFY(t);
    // By date, then by name; the loose offering has no name row and sorts first.
    QCOMPARE(Column(*t, "Name"), QStringList({"Jones, Ann", "Loose Offering", "Adams, Zoe", "Smith, John & Mary"}));
    QCOMPARE(Column(*t, "Amount"), QStringList({"40", "7.5", "10", "25"}));
    QCOMPARE(t->Value(0, "Date").toDate(), QDate(2025, 3, 2));
    QCOMPARE(t->Integer(0, "ColNum"), c2);
    QCOMPARE(t->Integer(3, "ColNum"), c1);
    QCOMPARE(t->Text(0, "ChurchName"), "Grace Church");
    QCOMPARE(t->Text(3, "HeaderLine"), "Memorial Fund Receipts from March 1, 2025 through March 31, 2025");

    // Names hidden: the same lines without a name.
    t = Listings::Fund_Report(s, false);
    QCOMPARE(Column(*t, "Name"), QStringList({"", "", "", ""}));
    QCOMPARE(t->RowCount(), 4);

    // One collection set; the main fund of a year is named by its year.
    m_data->AddOffering(m_smith, c1, -2025, 60);
    t = Listings::Fund_Report({-2025, true, c1, {}, {}}, true);
    QCOMPARE(t->RowCount(), 1);
    QCOMPARE(t->Text(0, "HeaderLine"), QStringLiteral("2025 Operating Fund Receipts for Collection Number %1").arg(c1));
    QCOMPARE(Listings::Memorial_Title({m_memorial, false, 0, QDate(2025, 3, 1), QDate(2025, 3, 31)}),
             "Memorial Fund Donors from 3/1/2025 through 3/31/2025");
    QCOMPARE(Listings::Memorial_Title({m_memorial, true, c1, {}, {}}),
             QStringLiteral("Memorial Fund Donors for Collection Number %1").arg(c1));
}

void tst_ListingTables::fundReportOfARangeWithoutGifts()
{
    auto t = Listings::Fund_Report({m_building, false, 0, QDate(2025, 1, 1), QDate(2025, 6, 15)}, true);
    QVERIFY(t);
    QCOMPARE(t->RowCount(), 1);
    QCOMPARE(t->Text(0, "ChurchName"), "Grace Church");
    QCOMPARE(t->Text(0, "HeaderLine"), "Building Fund Receipts from January 1, 2025 through June 15, 2025");
    QCOMPARE(t->Double(0, "Amount"), 0.0);
    QVERIFY(!t->Value(0, "Date").isValid());
    QVERIFY(!t->Value(0, "ColNum").isValid());
}

void tst_ListingTables::memorialLabelsOnePerDonorAfterTheSkipped()
{
    const int c1 = m_data->AddCollection(QDate(2025, 3, 2));
    const int c2 = m_data->AddCollection(QDate(2025, 3, 9));
    m_data->AddOffering(m_smith, c1, m_memorial, 25);
    m_data->AddOffering(m_smith, c2, m_memorial, 25); // gave twice: one label
    m_data->AddOffering(m_jones, c2, m_memorial, 5);
    m_data->AddOffering(1, c2, m_memorial, 12);       // loose offering: no label
    m_data->AddOffering(m_adams, c2, m_building, 5);  // another fund

    auto t = Listings::Memorial_Labels({m_memorial, false, 0, QDate(2025, 1, 1), QDate(2025, 12, 31)}, 3);
    QVERIFY(t);
    QCOMPARE(t->RowCount(), 5);
    QCOMPARE(SortedColumn(*t, "NameAddr"),
             QStringList({".", ".", ".", "Ann Jones" + CRLF + "4 Oak Ave" + CRLF + "Peoria, IL  61602",
                          "John & Mary Smith" + CRLF + "12 Elm St" + CRLF + "Springfield, IL  62704"}));
    QCOMPARE(SortedColumn(*t, "SortField"), QStringList({"A", "A", "A", "Z", "Z"}));
    QCOMPARE(t->Text(4, "HeaderLine"), "Memorial Fund Donors from 1/1/2025 through 12/31/2025");

    // A collection set that only the loose offering gave in: no labels at all.
    const int c3 = m_data->AddCollection(QDate(2025, 3, 16));
    m_data->AddOffering(1, c3, m_memorial, 3);
    t = Listings::Memorial_Labels({m_memorial, true, c3, {}, {}}, 0);
    QVERIFY(t);
    QCOMPARE(t->RowCount(), 0);
}

void tst_ListingTables::skipCountFromTypedText()
{
    QCOMPARE(Listings::Skip_Count("3"), 3);
    QCOMPARE(Listings::Skip_Count(" 2.6 "), 3);
    QCOMPARE(Listings::Skip_Count(""), 0);
    QCOMPARE(m_data->Messages().Beeps(), 0);
    QCOMPARE(Listings::Skip_Count("three"), 0);
    QCOMPARE(m_data->Messages().Beeps(), 1);
    QCOMPARE(Listings::Skip_Count("-4"), 0);
    QCOMPARE(Listings::Skip_Count("1000000"), Listings::kMaxSkip);
}

void tst_ListingTables::directoryBySelectionAndOrder()
{
    auto t = Listings::Telephone_Directory(true, false, false);
    QVERIFY(t);
    // Rows in the order read; the layout sorts on SortField.
    QCOMPARE(SortedColumn(*t, "Name"), QStringList({"Adams, Zoe", "Jones, Ann", "Smith, John & Mary"}));
    QCOMPARE(SortedColumn(*t, "SortField"), QStringList({"Adams Zoe", "Jones Ann", "Smith John & Mary"}));
    QCOMPARE(SortedColumn(*t, "Address"),
             QStringList({"9 Pine Rd, Springfield, IL  62701", "4 Oak Ave, Peoria, IL  61602", "12 Elm St, Springfield, IL  62704"}));
    QCOMPARE(t->Text(0, "ChurchName"), "Grace Church");

    t = Listings::Telephone_Directory(false, true, true);
    QCOMPARE(Column(*t, "Name"), QStringList({"Zimmer, Old"}));
    t = Listings::Telephone_Directory(true, true, true);
    QCOMPARE(SortedColumn(*t, "Telephone"), QStringList({"555-0101", "555-0102", "555-0300", "555-0999"}));
    QCOMPARE(SortedColumn(*t, "SortField"), SortedColumn(*t, "Telephone"));
}

void tst_ListingTables::mailingLabelsByZipAndName()
{
    auto t = Listings::Mailing_Labels(true, false, true, 2);
    QVERIFY(t);
    QCOMPARE(SortedColumn(*t, "SortField"), QStringList({"A", "A", "Z61602 Jones Ann", "Z62701 Adams Zoe", "Z62704 Smith John & Mary"}));
    QCOMPARE(SortedColumn(*t, "NameAddr").mid(0, 3), QStringList({".", ".", "Ann Jones" + CRLF + "4 Oak Ave" + CRLF + "Peoria, IL  61602"}));
    QCOMPARE(Column(*t, "HeaderLine"), QStringList({"", "", "", "", ""}));
    t = Listings::Mailing_Labels(true, true, false, 0);
    QCOMPARE(SortedColumn(*t, "SortField"), QStringList({"ZAdams Zoe", "ZJones Ann", "ZSmith John & Mary", "ZZimmer Old"}));
}

void tst_ListingTables::envelopeLabels()
{
    m_data->AddPledge(m_smith, -2025, 520, 10);
    m_data->AddPledge(m_jones, -2025, 100, 9);
    m_data->AddPledge(m_gone, -2025, 100, 0);   // no envelope number yet
    m_data->AddPledge(m_adams, -2025, 100, 4);  // uses no envelopes
    m_data->AddPledge(m_jones, m_building, 100, 31);

    auto t = Listings::Envelope_Labels(-2025, true, 1);
    QVERIFY(t);
    QCOMPARE(SortedColumn(*t, "FirstNames"), QStringList({".", "Old", "Ann", "John & Mary"}));
    QStringList keys = SortedColumn(*t, "SortField");
    QCOMPARE(keys.value(0), "A");
    QCOMPARE(keys.value(1), "Z" + QString(15, ' ') + "Zimmer Old");
    QCOMPARE(keys.value(2), "Z" + QString(14, ' ') + "9Jones Ann"); // 9 before 10
    QCOMPARE(keys.value(3), "Z" + QString(13, ' ') + "10Smith John & Mary");
    // A pledge without a number gives a label without one.
    QStringList numbers;
    for (int r = 0; r < t->RowCount(); ++r)
        numbers << (t->Value(r, "EnvNum").isValid() ? t->Value(r, "EnvNum").toString() : "-");
    numbers.sort();
    QCOMPARE(numbers, QStringList({"-", "-", "10", "9"}));

    t = Listings::Envelope_Labels(-2025, false, 0);
    QCOMPARE(SortedColumn(*t, "LastName"), QStringList({"Jones", "Smith", "Zimmer"}));
    t = Listings::Envelope_Labels(m_building, false, 0);
    QCOMPARE(Column(*t, "EnvNum"), QStringList({"31"}));
}

void tst_ListingTables::templateReaderOnTheInstalledFiles()
{
    const QString folder = LabelTemplates::Default_Folder();
    if (!QFileInfo::exists(folder + "/avery-us-templates.xml"))
        QSKIP("glabels-data is not installed");
    QString error;
    const QList<LabelTemplate> all = LabelTemplates::Read_Folder(folder, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(all.size() > 1000);

    const auto avery = LabelTemplates::Find(all, "avery 5160");
    QVERIFY(avery);
    QCOMPARE(avery->Title(), "Avery 5160 - Address Labels");
    QCOMPARE(avery->page, QSizeF(612, 792));
    QCOMPARE(avery->label, QSizeF(2.625 * 72, 72));
    QCOMPARE(avery->PerSheet(), 30);
    QCOMPARE(avery->positions.value(0), QPointF(0.15625 * 72, 0.5 * 72));
    QCOMPARE(avery->positions.value(1), QPointF((0.15625 + 2.78125) * 72, 0.5 * 72)); // across first
    QCOMPARE(avery->positions.value(3), QPointF(0.15625 * 72, 1.5 * 72));
    QCOMPARE(avery->positions.value(29), QPointF((0.15625 + 2 * 2.78125) * 72, 9.5 * 72));
    // The built-in sheet is the installed one.
    const LabelTemplate built = LabelTemplates::Avery5160();
    QCOMPARE(built.positions, avery->positions);
    QCOMPARE(built.label, avery->label);

    // 5260 is given as the equivalent of 5160: the same sheet under its own number.
    const auto equiv = LabelTemplates::Find(all, "Avery 5260");
    QVERIFY(equiv);
    QCOMPARE(equiv->part, "5260");
    QCOMPARE(equiv->positions, avery->positions);
    QCOMPARE(equiv->label, avery->label);

    const auto wide = LabelTemplates::Find(all, "Avery 5161 - Address Labels");
    QVERIFY(wide);
    QCOMPARE(wide->label, QSizeF(4 * 72, 72));
    QCOMPARE(wide->PerSheet(), 20);
    // A4 sheets in millimetres: L7160 is 7160, 3 x 7 labels.
    const auto a4 = LabelTemplates::Find(all, "Avery L7160");
    QVERIFY(a4);
    QCOMPARE(qRound(a4->page.height() * 10), qRound(297 / 25.4 * 72 * 10));
    QCOMPARE(a4->label, QSizeF(181.4, 108.0)); // given in plain points
    QCOMPARE(a4->PerSheet(), 21);
    // Sorted by brand, and by number within a brand.
    int i5160 = -1, i15160 = -1;
    for (int i = 0; i < all.size(); ++i) {
        if (all[i].Name() == "Avery 5160")
            i5160 = i;
        if (all[i].Name() == "Avery 15160")
            i15160 = i;
    }
    QVERIFY(i5160 >= 0);
    if (i15160 >= 0)
        QVERIFY(i5160 < i15160);
}

void tst_ListingTables::templateLengthsAndLayouts()
{
    QCOMPARE(LabelTemplates::Length("2.625in"), 189.0);
    QCOMPARE(LabelTemplates::Length("25.4mm"), 72.0);
    QCOMPARE(LabelTemplates::Length("2.54cm"), 72.0);
    QCOMPARE(LabelTemplates::Length("181.4"), 181.4);
    QCOMPARE(LabelTemplates::Length("12pt"), 12.0);
    QCOMPARE(LabelTemplates::Length("1pc"), 12.0);
    QCOMPARE(LabelTemplates::Length("wide"), -1.0);

    // A folder of our own: two layouts on one sheet fill row by row from
    // the top; an equivalent named before its base; a roll without layout
    // is left out; a damaged file does not stop the others.
    QTemporaryDir dir;
    QFile f(dir.filePath("test-templates.xml"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(R"(<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Test" part="2" equiv="1"/>
  <Template brand="Test" part="1" size="Other" width="4in" height="3in" _description="Two blocks">
    <Label-round id="0" radius="0.5in">
      <Layout nx="2" ny="1" x0="2in" y0="0.25in" dx="1in" dy="0"/>
      <Layout nx="1" ny="2" x0="0.25in" y0="0.25in" dx="0" dy="1.5in"/>
    </Label-round>
  </Template>
  <Template brand="Test" part="roll" size="Other" width="2in" height="0in">
    <Label-continuous id="0" width="2in"/>
  </Template>
</Glabels-templates>)");
    f.close();
    QFile bad(dir.filePath("broken-templates.xml"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("<Glabels-templates><Template brand=\"X\"");
    bad.close();
    // Sheets that ask for the impossible, each refused with its file named:
    // one alone would have every label command build 2.5 billion positions.
    QFile hostile(dir.filePath("hostile-templates.xml"));
    QVERIFY(hostile.open(QIODevice::WriteOnly));
    hostile.write(R"(<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Test" part="huge" size="US-Letter">
    <Label-rectangle id="0" width="1in" height="1in">
      <Layout nx="50000" ny="50000" x0="0" y0="0" dx="0.001in" dy="0.001in"/>
    </Label-rectangle>
  </Template>
  <Template brand="Test" part="split" size="US-Letter">
    <Label-rectangle id="0" width="1in" height="1in">
      <Layout nx="1000" ny="1" x0="0" y0="0" dx="0" dy="0"/>
      <Layout nx="1" ny="1" x0="0" y0="0" dx="0" dy="0"/>
    </Label-rectangle>
  </Template>
  <Template brand="Test" part="wide" size="US-Letter">
    <Label-rectangle id="0" width="90in" height="1in">
      <Layout nx="1" ny="1" x0="0" y0="0"/>
    </Label-rectangle>
  </Template>
  <Template brand="Test" part="far" size="US-Letter">
    <Label-rectangle id="0" width="1in" height="1in">
      <Layout nx="2" ny="1" x0="0" y0="0" dx="1000in" dy="0"/>
    </Label-rectangle>
  </Template>
  <Template brand="Test" part="poster" size="Other" width="1e300in" height="1in">
    <Label-rectangle id="0" width="1in" height="1in">
      <Layout nx="1" ny="1" x0="0" y0="0"/>
    </Label-rectangle>
  </Template>
  <Template brand="Test" part="3" equiv="huge"/>
</Glabels-templates>)");
    hostile.close();

    QString error;
    QStringList refused;
    const QList<LabelTemplate> all = LabelTemplates::Read_Folder(dir.path(), &error, &refused);
    QVERIFY(error.contains("broken-templates.xml"));
    QCOMPARE(all.size(), 2);
    QCOMPARE(all[0].Name(), "Test 1");
    QCOMPARE(all[1].Name(), "Test 2");
    QCOMPARE(all[1].Title(), "Test 2 - Two blocks");
    QCOMPARE(all[0].label, QSizeF(72, 72));
    QCOMPARE(all[0].page, QSizeF(288, 216));
    // The list holds names and sizes; a sheet's labels are read when chosen.
    QVERIFY(all[0].positions.isEmpty());
    const QList<QPointF> test1 = {{18, 18}, {144, 18}, {216, 18}, {18, 126}};
    QCOMPARE(LabelTemplates::Load(all[0]).value_or(LabelTemplate{}).positions, test1);
    QCOMPARE(LabelTemplates::Find(all, "Test 2").value_or(LabelTemplate{}).positions, test1);

    const QString file = QDir::toNativeSeparators(hostile.fileName());
    QCOMPARE(refused, QStringList({"Test huge in " + file + ": 2,500,000,000 labels on one sheet, more than 1,000",
                                   "Test split in " + file + ": 1,001 labels on one sheet, more than 1,000",
                                   "Test wide in " + file + ": labels larger than the page",
                                   "Test far in " + file + ": labels beyond the edge of the page",
                                   "Test poster in " + file + ": a page of 7.2e+301 by 72 points, larger than any sheet "
                                                              "of labels",
                                   "Test 3 in " + file + ": the same sheet as Test huge, which has 2,500,000,000 "
                                                         "labels on one sheet, more than 1,000"}));
}

QV_TEST_MAIN(tst_ListingTables, QCoreApplication)
#include "tst_listing_tables.moc"
