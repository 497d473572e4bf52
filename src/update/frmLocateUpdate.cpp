#include "frmLocateUpdate.h"

#include "widgets/Layouts.h"
#include "core/Messages.h"
#include "widgets/Windows.h"
#include "modUpdate.h"

#include <QVBoxLayout>
#include <QHBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>

using namespace WindowServices;
using namespace Layouts;

namespace {
constexpr int PathRole = Qt::UserRole;

// A folder as the lists keep it: absolute, clean, no trailing separator
// ("" for the root of a Unix file system).
QString Folder_Text(const QString& path)
{
    QString clean = QDir::cleanPath(QDir(path).absolutePath());
    while (clean.endsWith(QLatin1Char('/')))
        clean.chop(1);
    return clean;
}

// The folder to list for a remembered folder: the root of a drive keeps its
// separator ("/", "C:/").
QString Listed(const QString& folder)
{
    return folder.isEmpty() || folder.endsWith(QLatin1Char(':')) ? folder + QLatin1Char('/') : folder;
}

QString Drive_Of(const QString& path)
{
    return QStorageInfo(path).rootPath();
}
} // namespace

frmLocateUpdate::frmLocateUpdate(QWidget* parent) : QDialog(parent)
{
    Set_Up(this, "frmLocateUpdate", QStringLiteral("Locate Update File"));
    lblInstructions = Label(this, "lblInstructions",
                            QStringLiteral("Please indicate the location of the Quorvane update file. The file "
                                           "will usually be named QVUPD.VXO."));
    lblInstructions->setWordWrap(true);
    drvQV = Combo(this, "drvQV");
    dirQV = new QTreeWidget(this);
    dirQV->setObjectName(QStringLiteral("dirQV"));
    dirQV->setHeaderHidden(true);
    dirQV->setRootIsDecorated(false);
    dirQV->setItemsExpandable(false);
    dirQV->setExpandsOnDoubleClick(false);
    dirQV->setIndentation(TwipsToPixels(180));
    dirQV->setIconSize(QSize(16, 16));
    // The chain is always open; arrows would only suggest it could close.
    dirQV->setStyleSheet(QStringLiteral("QTreeView::branch { image: none; border-image: none; }"));
    fileQV = new QListWidget(this);
    fileQV->setObjectName(QStringLiteral("fileQV"));
    fileQV->setIconSize(QSize(16, 16));
    cmdOK = Button(this, "cmdOK", QStringLiteral("&OK"));
    cmdOK->setDefault(true);
    cmdCancel = Button(this, "cmdCancel", QStringLiteral("&Cancel"));

    auto* folders = new QVBoxLayout;
    folders->addWidget(drvQV);
    folders->addWidget(dirQV, 1);
    auto* lists = new QHBoxLayout;
    lists->addLayout(folders, 1);
    lists->addWidget(fileQV, 1);
    auto* page = Page(this);
    page->addWidget(lblInstructions);
    page->addLayout(lists, 1);
    page->addLayout(ButtonRow({cmdOK, cmdCancel}));
    Open_At(this, 6000, 4800);

    connect(drvQV, &QComboBox::activated, this, &frmLocateUpdate::drvQV_Change);
    // A folder opens on double-click or Enter, as in a file dialog; a
    // single click only selects it.
    connect(dirQV, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { Set_Folder(item->data(0, PathRole).toString()); });
    // Only a file the user picked counts, not the one the focus lands on.
    connect(fileQV, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> picked = fileQV->selectedItems();
        m_file = picked.isEmpty() ? QString() : picked.first()->text().trimmed();
    });
    connect(fileQV, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        m_file = item->text().trimmed();
        cmdOK_Click();
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmLocateUpdate::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    dirQV->installEventFilter(this);

    Fill_Drives();
    // The search looked in the documents folder first; the user starts there.
    QString start = modUpdate::CurrentContext().documents;
    if (start.isEmpty() || !QDir(start).exists())
        start = QDir::homePath();
    Set_Folder(start);
    CentreInMainWindow(this);
}

QString frmLocateUpdate::FileName() const
{
    if (!m_chosen || m_file.isEmpty())
        return {};
    return m_folder + QLatin1Char('/') + m_file;
}

void frmLocateUpdate::Set_Folder(const QString& folder)
{
    m_folder = Folder_Text(folder);
    const QString path = Listed(m_folder);
    const int drive = drvQV->findData(Drive_Of(path));
    if (drive >= 0)
        drvQV->setCurrentIndex(drive);
    Fill_Folders(path);
    Fill_Files(path);
}

void frmLocateUpdate::Fill_Drives()
{
    drvQV->clear();
    QStringList roots;
    for (const QFileInfo& drive : QDir::drives())
        roots << drive.absoluteFilePath();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
            roots << volume.rootPath();
    roots.removeDuplicates();
    roots.sort(Qt::CaseInsensitive);
    for (const QString& root : roots)
        drvQV->addItem(QDir::toNativeSeparators(root), root);
}

void frmLocateUpdate::drvQV_Change()
{
    const QString root = drvQV->currentData().toString();
    // A drive that cannot be read (no disc, no permission) keeps the
    // current folder, with a beep.
    if (!QDir(root).isReadable()) {
        Messages::Beep();
        Set_Folder(Listed(m_folder));
        return;
    }
    Set_Folder(root);
}

void frmLocateUpdate::Fill_Folders(const QString& path)
{
    dirQV->clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirIcon);
    // The chain from the drive down to the folder, then its subfolders one
    // step further in.
    QStringList chain;
    for (QDir dir(path);;) {
        chain.prepend(dir.absolutePath());
        if (!dir.cdUp())
            break;
    }
    QTreeWidgetItem* current = nullptr;
    for (const QString& folder : chain) {
        auto* item = current ? new QTreeWidgetItem(current) : new QTreeWidgetItem(dirQV);
        item->setText(0, QDir(folder).isRoot() ? QDir::toNativeSeparators(folder) : QDir(folder).dirName());
        item->setIcon(0, open);
        item->setData(0, PathRole, folder);
        current = item;
    }
    const QStringList subfolders
        = QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& sub : subfolders) {
        auto* item = new QTreeWidgetItem(current);
        item->setText(0, sub);
        item->setIcon(0, closed);
        item->setData(0, PathRole, QDir(path).filePath(sub));
    }
    dirQV->expandAll();
    dirQV->setCurrentItem(current);
    dirQV->scrollToItem(current);
}

void frmLocateUpdate::Fill_Files(const QString& path)
{
    // A file picked in another folder is no choice in this one.
    m_file.clear();
    fileQV->clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_FileIcon);
    for (const QString& file : QDir(path).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase))
        new QListWidgetItem(icon, file, fileQV);
    fileQV->setCurrentRow(-1);
}

void frmLocateUpdate::cmdOK_Click()
{
    m_chosen = true;
    accept();
}


bool frmLocateUpdate::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the folder list opens the folder rather than pressing OK.
    if (watched == dirQV && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && dirQV->currentItem()) {
            Set_Folder(dirQV->currentItem()->data(0, PathRole).toString());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void RegisterUpdateWindows()
{
    Windows::RegisterDialog(QStringLiteral("frmLocateUpdate"), [] { return new frmLocateUpdate; });
}
