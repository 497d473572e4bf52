#pragma once

#include "core/Messages.h"

#include <QHash>
#include <QMainWindow>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

// The main window: menus, toolbar and status bar around the area in which
// every task window opens. Its load opens the data file, its first
// activation asks for the password, its unload closes the data file.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // False when start-up could not open a data file; the program ends.
    bool Loaded() const { return m_loaded; }
    // The password check of the first activation; false ends the program.
    bool First_Activate();
    bool Password_Accepted() const { return m_passwordAccepted; }

    void Set_Caption();
    void Set_Processing_Year_Status();
    // Asks to close the other windows before the processing year changes.
    bool Change_Year_Guard();

    // The menu entry of that object name ("mnuFunds", "mnuWindowSelect(2)").
    QAction* Menu(const QString& name) const;

    QMdiArea* mdiMain;
    QToolBar* tbMain;
    QLabel* sbPanel1;
    QLabel* sbNote; // what the last beep of a box was about

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    // Size, position and maximised state, kept in the settings file.
    void Restore_Placement();
    void Save_Placement();
    void BuildMenus();
    void BuildToolbar();
    QAction* AddEntry(QMenu* menu, const QString& name, const QString& caption, std::function<void()> action,
                      const QString& window = {});
    void Refresh_Menus();
    // The menu titles whose access key a control of the active window uses
    // lose theirs while it is active, so that Alt+P presses the window's
    // Print rather than opening the Print menu.
    void Give_Way_To_Window_Keys();
    void DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID);
    void OpenCollections();
    void UpdateQuorvane();
    void ChangeYear();
    void Tile(Qt::Orientation orientation);
    void ArrangeIcons();

    QHash<QString, QAction*> m_entries;
    QHash<QAction*, QString> m_entryWindow; // entries that need a registered window
    QHash<QAction*, QString> m_menuTitles;  // each menu's title with its access key
    bool m_loaded = false;
    bool m_passwordAccepted = false;
    bool m_activated = false;
    bool m_unloaded = false;
    Messages::NoteHandler m_previousNote;
};
