#pragma once

#include <QString>
#include <QVariantMap>
#include <functional>

class QDialog;
class frmChild;

// Opening, finding and reaching the task windows. Windows open each other
// only through these functions, by window name, so that no window needs to
// know another's class; each window class registers a factory under its
// name once, at program start.
namespace Windows {

using Factory = std::function<frmChild*()>;
using DialogFactory = std::function<QDialog*()>;

void Register(const QString& name, Factory factory);
void RegisterDialog(const QString& name, DialogFactory factory);
bool IsRegistered(const QString& name);
void Unregister(const QString& name); // tests replace windows with their own

// Makes a registered window or dialog; nullptr when none is registered.
frmChild* Create(const QString& name);
QDialog* CreateDialog(const QString& name);

// The open window of that name, if any.
frmChild* Find_Window(const QString& name);
// Single instance: the open window of that name, else a new one; shown and
// given the focus. nullptr when no window of that name is registered.
frmChild* Open_Single(const QString& name);
// A new window every time, with its properties set before it loads.
frmChild* Open_New(const QString& name, const QVariantMap& properties = {});
// Loads and shows a window made by the caller, inside the main window.
void Show_Child(frmChild* window);
void Bring_Forward(frmChild* window);

// A fund (kind 1) or contributor (kind 2) detail window whose Tag is the ID.
bool Find_Open_Window(int kind, int id, bool bringForward);
void Show_Fund(int id);
void Show_Contributor(int id);

// Hands a change notice to every open window, in the order they were opened.
void Broadcast(int table, bool added, bool changed, bool deleted, int recordID, int contributorID);

// Closes every task window; true when none stays open (a window may refuse).
bool Close_All();

} // namespace Windows
