#include "frmMain.h"

#include "widgets/AccessKeys.h"

#include "core/Messages.h"
#include "widgets/WindowServices.h"
#include "widgets/Windows.h"
#include "core/clsDBEvent.h"
#include "widgets/frmChild.h"
#include "frmPassword.h"
#include "frmPickDB.h"
#include "ImportBooks.h"
#include "gifts/GiftWindows.h"
#include "core/modGlobal.h"
#include "storage/modPassword.h"
#include "core/modSettings.h"
#include "storage/modStartup.h"
#include "update/modUpdate.h"
#include "core/DbError.h"
#include "storage/clsChurch.h"
#include "storage/clsFunds.h"
#include "year/SafetyCopy.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

using namespace WindowServices;

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quorvane"));
    mdiMain = new QMdiArea(this);
    mdiMain->setObjectName(QStringLiteral("mdiMain"));
    mdiMain->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiMain->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiMain);
    SetMainArea(mdiMain);
    SetYearShown([this] { Set_Processing_Year_Status(); });
    BuildMenus();
    BuildToolbar();
    statusBar()->setObjectName(QStringLiteral("sbMain"));
    sbPanel1 = new QLabel(this);
    sbPanel1->setObjectName(QStringLiteral("sbPanel1"));
    statusBar()->addWidget(sbPanel1);
    sbNote = new QLabel(this);
    sbNote->setObjectName(QStringLiteral("sbNote"));
    statusBar()->addWidget(sbNote, 1);
    auto* noteTimer = new QTimer(this);
    noteTimer->setSingleShot(true);
    connect(noteTimer, &QTimer::timeout, sbNote, &QLabel::clear);
    m_previousNote = Messages::SetNoteHandler([this, noteTimer](const QString& note, Messages::NoteMode mode) {
        if (mode == Messages::NoteMode::Release) {
            if (sbNote->text() == note) {
                noteTimer->stop();
                sbNote->clear();
            }
        } else {
            sbNote->setText(note);
            if (mode == Messages::NoteMode::Passing)
                noteTimer->start(30000);
            else
                noteTimer->stop();
        }
        if (m_previousNote)
            m_previousNote(note, mode);
    });
    // The main window is placed before the data-set choice appears, so that
    // the choice centres in it rather than in a corner of the screen.
    Restore_Placement();

    // Load: the start-up sequence, with the data-set choice as a dialog.
    const auto result = modStartup::Start_Up([this] {
        frmPickDB pick(this);
        ShowModal(&pick);
        return int(pick.DataSet_Number());
    });
    m_loaded = (result == modStartup::Result::Ready);
    if (!m_loaded)
        return;
    connect(modGlobal::DBEvent(), &clsDBEvent::DBChange, this, &frmMain::DBChange);
    modGlobal::SetFindOpenWindow(&Windows::Find_Open_Window);
    Set_Processing_Year_Status();
    try {
        Set_Caption();
    } catch (const DbError& e) {
        Messages::Show(e.Message(), {}, Messages::Icon::Critical);
    }
    m_passwordAccepted = false;
}

frmMain::~frmMain()
{
    // The task windows close while the main window goes; its menus must not
    // hear of it any more.
    disconnect(mdiMain, nullptr, this, nullptr);
    Messages::SetNoteHandler(m_previousNote);
    if (WindowServices::MainArea() == mdiMain) {
        SetMainArea(nullptr);
        SetYearShown({});
    }
}

QAction* frmMain::AddEntry(QMenu* menu, const QString& name, const QString& caption, std::function<void()> action,
                           const QString& window)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [this, action] {
        try {
            action();
        } catch (const DbError& e) {
            // The engine's own words; the program goes on.
            Messages::Show(e.Message(), {}, Messages::Icon::Critical);
        }
    });
    m_entries.insert(name, a);
    if (!window.isEmpty())
        m_entryWindow.insert(a, window);
    return a;
}

void frmMain::BuildMenus()
{
    auto single = [](const QString& window, bool hourglass = false) {
        return [window, hourglass] {
            std::unique_ptr<Hourglass> wait(hourglass ? new Hourglass : nullptr);
            Windows::Open_Single(window);
        };
    };
    auto fresh = [](const QString& window, QVariantMap properties = {}) {
        return [window, properties] { Windows::Open_New(window, properties); };
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    AddEntry(file, QStringLiteral("mnuImportBooks"), ImportBooks::MenuCaption(), [this] { ImportBooks::Run(this); });
    AddEntry(file, QStringLiteral("mnuImportGifts"), QStringLiteral("Import &Online Gifts..."),
             [this] { Import_Online_Gifts(this); });
    AddEntry(file, QStringLiteral("mnuUpdate"), QStringLiteral("&Update Quorvane"), [this] { UpdateQuorvane(); },
             QStringLiteral("frmLocateUpdate"));
    AddEntry(file, QStringLiteral("mnuRestore"), QStringLiteral("&Restore a Safety Copy..."),
             single(QStringLiteral("frmRestore")), QStringLiteral("frmRestore"));
    file->addSeparator();
    AddEntry(file, QStringLiteral("mnuExit"), QStringLiteral("E&xit"), [this] { close(); });

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    AddEntry(edit, QStringLiteral("mnuCollections"), QStringLiteral("&Collections"), [this] { OpenCollections(); },
             QStringLiteral("frmCollections"));
    AddEntry(edit, QStringLiteral("mnuFunds"), QStringLiteral("&Funds"), single(QStringLiteral("frmFundList"), true),
             QStringLiteral("frmFundList"));
    AddEntry(edit, QStringLiteral("mnuContributor"), QStringLiteral("C&ontributors"),
             single(QStringLiteral("frmContList"), true), QStringLiteral("frmContList"));
    AddEntry(edit, QStringLiteral("mnuAddress"), QStringLiteral("Church &Name and Address"),
             single(QStringLiteral("frmChurch")), QStringLiteral("frmChurch"));
    AddEntry(edit, QStringLiteral("mnuPassword"), QStringLiteral("Pass&word"), single(QStringLiteral("frmPWChange")),
             QStringLiteral("frmPWChange"));
    AddEntry(edit, QStringLiteral("mnuPreferences"), QStringLiteral("&Preferences"),
             single(QStringLiteral("frmPreferences")), QStringLiteral("frmPreferences"));

    QMenu* print = menuBar()->addMenu(QStringLiteral("&Print"));
    print->setObjectName(QStringLiteral("mnuPrint"));
    AddEntry(print, QStringLiteral("mnuPrntWeekly"), QStringLiteral("&Collections Report"),
             fresh(QStringLiteral("frmRptWeeklyReport"), {{QStringLiteral("CollectionNumber"), 0}}),
             QStringLiteral("frmRptWeeklyReport"));
    AddEntry(print, QStringLiteral("mnuPrntDeposit"), QStringLiteral("Dep&osit Slip"),
             fresh(QStringLiteral("frmRptDeposit"), {{QStringLiteral("CollectionNumber"), 0}}),
             QStringLiteral("frmRptDeposit"));
    AddEntry(print, QStringLiteral("mnuPrntStatements"), QStringLiteral("Contributors' &Statements"),
             fresh(QStringLiteral("frmRptStatements")), QStringLiteral("frmRptStatements"));
    AddEntry(print, QStringLiteral("mnuPrntPLStatus"), QStringLiteral("&Pledge Status Report"),
             fresh(QStringLiteral("frmRptPledgeStatus")), QStringLiteral("frmRptPledgeStatus"));
    AddEntry(print, QStringLiteral("mnuPrntFunds"), QStringLiteral("&Fund Receipts"),
             fresh(QStringLiteral("frmRptFunds"), {{QStringLiteral("Fund_ID"), 0}}), QStringLiteral("frmRptFunds"));
    AddEntry(print, QStringLiteral("mnuPrntMemCont"), QStringLiteral("&Memorial Fund Donors"),
             fresh(QStringLiteral("frmRptMemorials")), QStringLiteral("frmRptMemorials"));
    AddEntry(print, QStringLiteral("mnuPrntDirectory"), QStringLiteral("Telephone &Directory"),
             fresh(QStringLiteral("frmRptTelephone")), QStringLiteral("frmRptTelephone"));
    AddEntry(print, QStringLiteral("mnuPrntMailingLabels"), QStringLiteral("Mai&ling Labels"),
             fresh(QStringLiteral("frmRptMailingLabels")), QStringLiteral("frmRptMailingLabels"));
    AddEntry(print, QStringLiteral("mnuPrntEnvLabels"), QStringLiteral("&Envelope Box Labels"),
             fresh(QStringLiteral("frmRptEnvLabels")), QStringLiteral("frmRptEnvLabels"));
    AddEntry(print, QStringLiteral("mnuPrntTrends"), QStringLiteral("&Giving Trends"),
             single(QStringLiteral("frmRptTrends"), true), QStringLiteral("frmRptTrends"));

    QMenu* utilities = menuBar()->addMenu(QStringLiteral("&Utilities"));
    utilities->setObjectName(QStringLiteral("mnuUtilities"));
    AddEntry(utilities, QStringLiteral("mnuChangeYear"), QStringLiteral("Change Processing &Year"),
             [this] { ChangeYear(); }, QStringLiteral("frmYear"));
    AddEntry(utilities, QStringLiteral("mnuNumbers"), QStringLiteral("&Assign Numbers"), single(QStringLiteral("frmAssign")),
             QStringLiteral("frmAssign"));
    AddEntry(utilities, QStringLiteral("mnuActive"), QStringLiteral("Make Pledges Active/&Inactive"),
             single(QStringLiteral("frmActive")), QStringLiteral("frmActive"));
    AddEntry(utilities, QStringLiteral("mnuEditPledges"), QStringLiteral("Edit Contributors' &Pledges"),
             single(QStringLiteral("frmPledgeUtil")), QStringLiteral("frmPledgeUtil"));

    QMenu* window = menuBar()->addMenu(QStringLiteral("&Window"));
    window->setObjectName(QStringLiteral("mnuWindow"));
    AddEntry(window, QStringLiteral("mnuWindowSelect(0)"), QStringLiteral("Tile &Horizontally"), [this] { Tile(Qt::Horizontal); });
    AddEntry(window, QStringLiteral("mnuWindowSelect(1)"), QStringLiteral("Tile &Vertically"), [this] { Tile(Qt::Vertical); });
    AddEntry(window, QStringLiteral("mnuWindowSelect(2)"), QStringLiteral("&Cascade"), [this] { mdiMain->cascadeSubWindows(); });
    AddEntry(window, QStringLiteral("mnuWindowSelect(3)"), QStringLiteral("&Arrange Icons"), [this] { ArrangeIcons(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    AddEntry(help, QStringLiteral("mnuAbout"), QStringLiteral("&About Quorvane"), single(QStringLiteral("frmAbout")),
             QStringLiteral("frmAbout"));

    // An entry whose window is not part of this build stays visible but greyed.
    for (QMenu* menu : {file, edit, print, utilities, window, help}) {
        connect(menu, &QMenu::aboutToShow, this, &frmMain::Refresh_Menus);
        m_menuTitles.insert(menu->menuAction(), menu->title());
    }
    connect(mdiMain, &QMdiArea::subWindowActivated, this, &frmMain::Give_Way_To_Window_Keys);
    Refresh_Menus();
}

void frmMain::Refresh_Menus()
{
    for (auto it = m_entryWindow.constBegin(); it != m_entryWindow.constEnd(); ++it)
        it.key()->setEnabled(Windows::IsRegistered(it.value()));
}

void frmMain::Give_Way_To_Window_Keys()
{
    QSet<QChar> taken;
    if (QMdiSubWindow* active = mdiMain->activeSubWindow(); active && active->widget())
        taken = AccessKeys::All(active->widget());
    for (auto it = m_menuTitles.constBegin(); it != m_menuTitles.constEnd(); ++it) {
        QString title = it.value();
        if (taken.contains(AccessKeys::Of(title)))
            title.remove(title.indexOf(QLatin1Char('&')), 1);
        if (it.key()->text() != title)
            it.key()->setText(title);
    }
}

void frmMain::BuildToolbar()
{
    tbMain = addToolBar(QStringLiteral("Main"));
    tbMain->setObjectName(QStringLiteral("tbMain"));
    tbMain->setMovable(false);
    tbMain->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    struct Button {
        const char* entry;
        const char* caption;
        QStyle::StandardPixmap icon;
    };
    const Button buttons[] = {{"mnuCollections", "Collections", QStyle::SP_FileDialogDetailedView},
                              {"mnuFunds", "Funds", QStyle::SP_DirIcon},
                              {"mnuContributor", "Contributors", QStyle::SP_FileDialogContentsView},
                              {"mnuPrntTrends", "Trends", QStyle::SP_FileDialogListView},
                              {"mnuPreferences", "Preferences", QStyle::SP_FileDialogInfoView},
                              {"mnuExit", "Exit", QStyle::SP_DialogCloseButton}};
    for (const Button& b : buttons) {
        QAction* entry = Menu(QString::fromLatin1(b.entry));
        auto* button = new QAction(style()->standardIcon(b.icon), QString::fromLatin1(b.caption), tbMain);
        button->setObjectName(QStringLiteral("tb") + QString::fromLatin1(b.caption));
        connect(button, &QAction::triggered, entry, &QAction::trigger);
        // The button follows its menu entry's availability.
        button->setEnabled(entry->isEnabled());
        connect(entry, &QAction::enabledChanged, button, &QAction::setEnabled);
        tbMain->addAction(button);
    }
}

QAction* frmMain::Menu(const QString& name) const
{
    return m_entries.value(name);
}

void frmMain::Set_Caption()
{
    clsChurch church;
    church.Get_One_Record(QString());
    setWindowTitle(church.ChurchName().isEmpty() ? QStringLiteral("Quorvane")
                                                 : QStringLiteral("Quorvane - ") + church.ChurchName());
}

void frmMain::Set_Processing_Year_Status()
{
    sbPanel1->setText(QStringLiteral("Processing Year: ") + QString::number(modGlobal::ProcessingYear));
}

bool frmMain::First_Activate()
{
    if (!modPassword::PasswordIsSet()) {
        m_passwordAccepted = true;
        return true;
    }
    frmPassword password(this);
    ShowModal(&password);
    m_passwordAccepted = password.Password_OK() && !password.Cancelled();
    return m_passwordAccepted;
}

void frmMain::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    if (m_activated || !m_loaded)
        return;
    m_activated = true;
    QTimer::singleShot(0, this, [this] {
        bool ok = false;
        try {
            ok = First_Activate();
        } catch (const DbError& err) {
            Messages::Show(err.Message(), {}, Messages::Icon::Critical);
        }
        if (!ok)
            close();
    });
}

void frmMain::closeEvent(QCloseEvent* e)
{
    if (m_unloaded) {
        e->accept();
        return;
    }
    // Unload: the task windows go first, then the data file is closed. A
    // window that refuses (an offering line without a fund) keeps the
    // program open, so that nothing typed is lost.
    if (!Windows::Close_All()) {
        e->ignore();
        return;
    }
    m_unloaded = true;
    Save_Placement();
    if (m_loaded) {
        SafetyCopy::Exit_Copy();
        modStartup::Shut_Down();
    }
    e->accept();
}

namespace {
const QString kPlacement = QStringLiteral("MainWindow");
}

void frmMain::Restore_Placement()
{
    auto number = [](const char* key, int fallback) {
        bool ok = false;
        const int n = modSettings::Read(kPlacement, QLatin1String(key)).toInt(&ok);
        return ok ? n : fallback;
    };
    QRect free(QPoint(0, 0), TwipsSize(12000, 8400));
    if (QScreen* screen = QGuiApplication::primaryScreen())
        free = screen->availableGeometry();
    QRect placed(QPoint(0, 0), TwipsSize(12000, 8400).boundedTo(free.size()));
    placed.moveCenter(free.center());
    const QRect saved(number("Left", 0), number("Top", 0), number("Width", 0), number("Height", 0));
    // Where it was last time, if that still lies on the screen (a second
    // screen may have gone since) and is no smaller than a usable window.
    bool onScreen = false;
    for (QScreen* screen : QGuiApplication::screens())
        onScreen = onScreen || screen->availableGeometry().intersected(saved).width() >= 200;
    if (onScreen && saved.width() >= 400 && saved.height() >= 300)
        placed = saved;
    setGeometry(placed);
    if (number("Maximized", 0) != 0)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void frmMain::Save_Placement()
{
    // A maximised window keeps the size it returns to.
    const QRect r = (isMaximized() || isFullScreen()) ? normalGeometry() : geometry();
    if (!r.isValid())
        return;
    const int values[4] = {r.left(), r.top(), r.width(), r.height()};
    const char* keys[4] = {"Left", "Top", "Width", "Height"};
    for (int i = 0; i < 4; ++i)
        modSettings::Write(kPlacement, QLatin1String(keys[i]), QString::number(values[i]));
    modSettings::Write(kPlacement, QStringLiteral("Maximized"), isMaximized() ? QStringLiteral("1") : QStringLiteral("0"));
}

void frmMain::DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID)
{
    if (table == dbFunds && recordID == 1) {
        clsFunds main;
        main.Get_One_Record(QStringLiteral("ID = 1"));
        modGlobal::MainFundName = main.FundName();
    }
    if (table == dbChurch)
        Set_Caption();
    Windows::Broadcast(table, added, changed, deleted, recordID, contributorID);
}

void frmMain::OpenCollections()
{
    std::unique_ptr<QDialog> dialog(Windows::CreateDialog(QStringLiteral("frmCollectionDate")));
    if (!dialog)
        return;
    dialog->setParent(this, dialog->windowFlags());
    ShowModal(dialog.get());
    if (dialog->property("Cancelled").toBool())
        return;
    const QVariantMap properties = {{QStringLiteral("CollectionNumber"), dialog->property("CollectionNumber")},
                                    {QStringLiteral("CollectionDate"), dialog->property("CollectionDate")},
                                    {QStringLiteral("CollectionNotation"), dialog->property("CollectionNotation")}};
    dialog.reset();
    Hourglass wait;
    Windows::Open_New(QStringLiteral("frmCollections"), properties);
}

void frmMain::UpdateQuorvane()
{
    auto locate = [this] {
        std::unique_ptr<QDialog> dialog(Windows::CreateDialog(QStringLiteral("frmLocateUpdate")));
        if (!dialog)
            return QString();
        dialog->setParent(this, dialog->windowFlags());
        ShowModal(dialog.get());
        return dialog->property("FileName").toString();
    };
    // The new executable is in place; the next start runs it.
    if (modUpdate::Update_Quorvane(modUpdate::CurrentContext(), locate) == modUpdate::Outcome::Installed)
        close();
}

bool frmMain::Change_Year_Guard()
{
    if (frmChild::OpenWindows().isEmpty())
        return true;
    const QString text = QStringLiteral("\r\nBefore the processing year can be changed all other forms must be closed. "
                                        "Quorvane can close all the forms now, but you will lose any unsaved information "
                                        "in the open forms. Would you like for Quorvane to close all the open forms now?\r\n");
    if (Messages::Show(text, QStringLiteral("Close Forms"), Messages::Icon::Question, Messages::Buttons::YesNoCancel)
        != Messages::Answer::Yes)
        return false;
    return Windows::Close_All();
}

void frmMain::ChangeYear()
{
    if (Change_Year_Guard())
        Windows::Open_New(QStringLiteral("frmYear"));
}

void frmMain::Tile(Qt::Orientation orientation)
{
    // Horizontally: one window above the other, each as wide as the area;
    // vertically: side by side, each as tall as the area.
    QList<QMdiSubWindow*> subs;
    for (QMdiSubWindow* s : mdiMain->subWindowList())
        if (!s->isMinimized())
            subs << s;
    if (subs.isEmpty())
        return;
    const QSize area = mdiMain->viewport()->size();
    const int n = int(subs.size());
    for (int i = 0; i < n; ++i) {
        subs[i]->showNormal();
        if (orientation == Qt::Horizontal)
            subs[i]->setGeometry(0, i * (area.height() / n), area.width(), area.height() / n);
        else
            subs[i]->setGeometry(i * (area.width() / n), 0, area.width() / n, area.height());
    }
}

void frmMain::ArrangeIcons()
{
    // Minimised windows in a row along the bottom of the area.
    int x = 0;
    for (QMdiSubWindow* s : mdiMain->subWindowList()) {
        if (!s->isMinimized())
            continue;
        const QSize size = s->size();
        if (x + size.width() > mdiMain->viewport()->width() && x > 0)
            x = 0;
        s->move(x, mdiMain->viewport()->height() - size.height());
        x += size.width();
    }
}
