// The locate window driven as a user drives it, and the File menu's
// "Update Quorvane" from the main window: cancelled, and installed.
#include "UpdateFixture.h"
#include "support/WindowTest.h"
#include "update/frmLocateUpdate.h"
#include "app/frmPassword.h"
#include "update/modUpdate.h"

#include <QAction>
#include <QListWidget>
#include <QStorageInfo>
#include <QTreeWidget>

using namespace UpdateFixture;

namespace {

// The test's folders stand in for the user's for as long as it runs.
struct ContextScope {
    explicit ContextScope(const modUpdate::Context& c) { modUpdate::SetContext(c); }
    ~ContextScope() { modUpdate::SetContext(std::nullopt); }
};

QStringList Texts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// The folder list top to bottom, each name indented by its depth.
QStringList Texts(QTreeWidget* tree)
{
    QStringList texts;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        int depth = 0;
        for (QTreeWidgetItem* p = (*it)->parent(); p; p = p->parent())
            ++depth;
        texts << QString(depth, QLatin1Char('>')) + (*it)->text(0);
    }
    return texts;
}

QListWidgetItem* Item(QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

QTreeWidgetItem* Item(QTreeWidget* tree, const QString& text)
{
    const QList<QTreeWidgetItem*> found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

// A double-click as the system delivers it: a click, then the second press.
void DoubleClick(QAbstractItemView* view, const QModelIndex& index)
{
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

// Opens a folder of the folder list as a user does.
void OpenFolder(frmLocateUpdate& w, const QString& name)
{
    QTreeWidgetItem* item = Item(w.dirQV, name);
    QVERIFY2(item, qPrintable("no folder " + name));
    DoubleClick(w.dirQV, w.dirQV->indexFromItem(item));
}

void ClickFile(frmLocateUpdate& w, const QString& name)
{
    QListWidgetItem* item = Item(w.fileQV, name);
    QVERIFY2(item, qPrintable("no file " + name));
    w.fileQV->scrollToItem(item);
    QTest::mouseClick(w.fileQV->viewport(), Qt::LeftButton, {}, w.fileQV->visualItemRect(item).center());
}

} // namespace

class tst_UpdateWindow : public QObject {
    Q_OBJECT
private slots:
    void locateWindowLists();
    void locateWindowChoices();
    void menuEntryCancelledAndInstalled();
};

void tst_UpdateWindow::locateWindowLists()
{
    Places places;
    ContextScope scope(places.Context());
    QDir(places.documents).mkpath("Church/Updates");
    QDir(places.documents).mkpath("Archive");
    QVERIFY(Write(places.documents + "/letter.txt", "x"));
    QVERIFY(Write(places.documents + "/Church/Updates/QVUPD.VXO", "x"));
    QVERIFY(Write(places.documents + "/Church/Updates/budget.ods", "x"));
    QVERIFY(Write(places.documents + "/Church/Updates/.hidden", "x"));

    frmLocateUpdate w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("Locate Update File"));
    QCOMPARE(w.lblInstructions->text(), QStringLiteral("Please indicate the location of the Quorvane update file. The "
                                                       "file will usually be named QVUPD.VXO."));
    QCOMPARE(w.cmdOK->text(), QStringLiteral("&OK"));
    QCOMPARE(w.cmdCancel->text(), QStringLiteral("&Cancel"));

    // It opens on the documents folder: the chain down to it, then its
    // subfolders; the files beside it.
    QCOMPARE(w.Folder(), places.documents);
    QStringList folders = Texts(w.dirQV);
    const int depth = int(places.documents.count(QLatin1Char('/')));
    QCOMPARE(folders.first(), QDir::toNativeSeparators(QDir::rootPath()));
    QCOMPARE(folders.mid(folders.size() - 3),
             (QStringList{QString(depth, '>') + "Documents", QString(depth + 1, '>') + "Archive",
                          QString(depth + 1, '>') + "Church"}));
    QCOMPARE(w.dirQV->currentItem()->text(0), QStringLiteral("Documents"));
    QCOMPARE(Texts(w.fileQV), QStringList{"letter.txt"});

    // Down two folders; the files follow (hidden ones are not offered).
    OpenFolder(w, "Church");
    QCOMPARE(w.Folder(), places.documents + "/Church");
    QCOMPARE(w.fileQV->count(), 0);
    QCOMPARE(Texts(w.dirQV).last(), QString(depth + 2, '>') + "Updates");
    w.dirQV->setFocus();
    w.dirQV->setCurrentItem(Item(w.dirQV, "Updates"));
    QTest::keyClick(w.dirQV, Qt::Key_Return); // opens the folder, does not press OK
    QVERIFY(w.isVisible());
    QCOMPARE(w.Folder(), places.documents + "/Church/Updates");
    QCOMPARE(Texts(w.fileQV), (QStringList{"budget.ods", "QVUPD.VXO"}));
    // Back up by the chain.
    OpenFolder(w, "Documents");
    QCOMPARE(w.Folder(), places.documents);

    // The drive list offers the drive of the folder; choosing a drive moves
    // the lists to its top.
    QVERIFY(w.drvQV->count() >= 1);
    QCOMPARE(w.drvQV->currentData().toString(), QStorageInfo(places.documents).rootPath());
    const int root = w.drvQV->findData(QStringLiteral("/"));
    QVERIFY(root >= 0);
    w.drvQV->setCurrentIndex(root);
    emit w.drvQV->activated(root);
    QCOMPARE(w.Folder(), QString());
    QCOMPARE(Texts(w.dirQV).first(), QStringLiteral("/"));
    QVERIFY(Texts(w.dirQV).contains(">tmp"));

    // Made larger, the lists take the room and the buttons move with the corner.
    const QRect files = w.fileQV->geometry();
    const QPoint fromCorner = w.rect().bottomRight() - w.cmdOK->geometry().bottomRight();
    w.resize(w.width() + 200, w.height() + 100);
    QApplication::processEvents();
    QVERIFY(w.fileQV->width() >= files.width() + 90);
    QVERIFY(w.fileQV->height() >= files.height() + 100);
    QCOMPARE(w.rect().bottomRight() - w.cmdOK->geometry().bottomRight(), fromCorner);
}

void tst_UpdateWindow::locateWindowChoices()
{
    Places places;
    ContextScope scope(places.Context());
    QDir(places.documents).mkpath("Mail");
    QVERIFY(Write(places.documents + "/Mail/QVUPD.VXO", "x"));
    QVERIFY(Write(places.documents + "/notes.txt", "x"));

    {
        // A picked file with OK: folder and file.
        frmLocateUpdate w;
        w.show();
        OpenFolder(w, "Mail");
        ClickFile(w, "QVUPD.VXO");
        QCOMPARE(w.FileName(), QString()); // not before OK
        w.cmdOK->click();
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(w.FileName(), places.documents + "/Mail/QVUPD.VXO");
        QCOMPARE(w.property("FileName").toString(), w.FileName());
    }
    {
        // Cancel after picking a file gives no name.
        frmLocateUpdate w;
        w.show();
        ClickFile(w, "notes.txt");
        w.cmdCancel->click();
        QCOMPARE(w.FileName(), QString());
    }
    {
        // OK with no file picked, or with one picked in a folder since left.
        frmLocateUpdate w;
        w.show();
        ClickFile(w, "notes.txt");
        OpenFolder(w, "Mail");
        w.cmdOK->click();
        QCOMPARE(w.FileName(), QString());
    }
    {
        // A double-click on a file chooses it at once.
        frmLocateUpdate w;
        w.show();
        DoubleClick(w.fileQV, w.fileQV->indexFromItem(Item(w.fileQV, "notes.txt")));
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(w.FileName(), places.documents + "/notes.txt");
    }
}

void tst_UpdateWindow::menuEntryCancelledAndInstalled()
{
    TestDataSet data(TestDataSet::Start::FoldersOnly);
    data.ProvideTemplate();
    RegisterAllWindows();
    Places places;
    ContextScope scope(places.Context());
    QDir(places.root.path()).mkpath("Downloads");
    const QString package = places.root.filePath("Downloads/QVUPD.VXO");
    const QByteArray update = Program("3.01.0000", "Quorvane", "Quorvane Developers", 9);
    QVERIFY(SignedCab(package, {{"quorvane", update}}));

    QString answer;
    int locates = 0;
    QWidget* owner = nullptr;
    ModalScript dialogs([&](QDialog* d) {
        if (qobject_cast<frmPassword*>(d))
            return AnswerPassword(d, {"Brv9kQ2e"}); // a new data file's password
        auto* locate = qobject_cast<frmLocateUpdate*>(d);
        if (!locate) {
            QTest::qFail(qPrintable("unexpected dialog " + d->objectName()), __FILE__, __LINE__);
            d->reject();
            return d->result();
        }
        ++locates;
        // Modal over the main window, not a window of its own.
        if (d->parentWidget() != owner)
            QTest::qFail("the locate window is not owned by the main window", __FILE__, __LINE__);
        d->show();
        if (answer.isEmpty()) {
            locate->cmdCancel->click();
        } else {
            locate->Set_Folder(QFileInfo(answer).path());
            ClickFile(*locate, QFileInfo(answer).fileName());
            locate->cmdOK->click();
        }
        return d->result();
    });

    frmMain main;
    owner = &main;
    QVERIFY(main.Loaded());
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QTRY_VERIFY(main.Password_Accepted());
    QAction* entry = main.Menu("mnuUpdate");
    QVERIFY(entry->isEnabled());

    // Neither folder holds a package: the locate window; cancelled, nothing
    // is said and the program goes on.
    entry->trigger();
    QCOMPARE(locates, 1);
    QVERIFY(data.Messages().Seen().isEmpty());
    QVERIFY(main.isVisible());
    QCOMPARE(Read(places.program), places.oldProgram);

    // Pointed at the package: installed, told so, and the program ends.
    answer = package;
    data.Messages().Expect("The Quorvane upgrade was successfully installed. Quorvane will exit now. When you run it "
                           "again, you will be using version 3.01.0000");
    entry->trigger();
    QCOMPARE(locates, 2);
    data.Messages().VerifyAllShown();
    QCOMPARE(Read(places.program), update);
    QCOMPARE(Read(places.OldQV()), places.oldProgram);
    QVERIFY(!main.isVisible());
    QVERIFY(places.TemporaryEmpty());
}

QV_TEST_MAIN(tst_UpdateWindow, QApplication)
#include "tst_update_window.moc"
