#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "WindowServices.h"

// What every task window of the program is: it hears of every database
// change through Handle_DBChange, may carry a record ID in its Tag, and is
// listed among the open windows in the order it was opened.
class frmChild : public QWidget {
    Q_OBJECT
public:
    explicit frmChild(QWidget* parent = nullptr);
    ~frmChild() override;

    // Called once by the main window after the opener has set the window's
    // properties and before it is shown.
    virtual void Form_Load() {}
    // A change notice: table code, added, changed, deleted, record ID,
    // contributor ID. Each window decides whether it concerns what it shows.
    virtual void Handle_DBChange(int table, bool added, bool changed, bool deleted, int recordID, int contributorID);

    QString Tag() const { return m_tag; }
    void SetTag(const QString& tag) { m_tag = tag; }

    // Every open task window, in the order they were opened.
    static QList<frmChild*> OpenWindows();
    // The size the window was drawn for; it never shrinks below it.
    QSize Designed_Size() const;
    // The window to move and show: the MDI frame around it when it has one.
    QWidget* Frame();
    // True once the window accepted being closed (it is deleted a moment later).
    bool IsClosed() const { return m_closed; }

protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    // How the window's controls follow a resize; windows fill it once their
    // controls are placed.
    WindowServices::ResizeRule& Resize_Rule() { return m_resizeRule; }

private:
    QString m_tag;
    bool m_closed = false;
    WindowServices::ResizeRule m_resizeRule;
};
