#pragma once

// What nearly every window test needs: the program's shell, the data set,
// the scripted dialogs, and keys sent as a person sends them.
#include "support/CoreTest.h"

#include "app/AllWindows.h"
#include "widgets/QvGrid.h"
#include "widgets/WindowServices.h"
#include "widgets/Windows.h"
#include "core/clsDBEvent.h"
#include "widgets/frmChild.h"
#include "app/frmMain.h"
#include "storage/modPassword.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "support/ModalScript.h"
#include "support/OpenWindows.h"

namespace WindowTest {

inline QWidget* Focus()
{
    return QApplication::focusWidget();
}

// One key to whatever has the focus.
inline void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget* f = Focus();
    if (!f) {
        QTest::qFail("no control has the focus", __FILE__, __LINE__);
        return;
    }
    QTest::keyClick(f, Qt::Key(key), mods);
}

// Text typed character by character, each to the control that has the
// focus at that moment.
inline void Type(const QString& text)
{
    for (const QChar c : text) {
        QWidget* f = Focus();
        if (!f) {
            QTest::qFail("no control has the focus", __FILE__, __LINE__);
            return;
        }
        QTest::keyClick(f, c.toLatin1() ? c.toLatin1() : '?');
    }
}

// Every open window of a kind, oldest first.
template <class W>
QList<W*> OpenOf()
{
    QList<W*> found;
    for (frmChild* w : frmChild::OpenWindows())
        if (auto* x = qobject_cast<W*>(w))
            found.append(x);
    return found;
}

// A window opened as the program opens it: a single window brought
// forward, any other made anew with the properties given.
template <class W>
W* OpenSingle(const char* name)
{
    return qobject_cast<W*>(Windows::Open_Single(QLatin1String(name)));
}

template <class W>
W* OpenNew(const QString& name, const QVariantMap& properties = {})
{
    return qobject_cast<W*>(Windows::Open_New(name, properties));
}

// A grid's rows under its heading and placeholder row as text: the cells of
// the columns given, joined by sep; hidden rows kept, left out or [bracketed].
enum class HiddenRows { Keep, Leave, Bracket };
inline QStringList GridText(const QvGrid* g, std::initializer_list<int> cols, const QString& sep,
                            HiddenRows hidden = HiddenRows::Keep)
{
    QStringList rows;
    for (int r = 2; r < g->Rows(); ++r) {
        QStringList cells;
        for (const int c : cols)
            cells << g->TextMatrix(r, c);
        if (!g->IsRowHidden(r) || hidden == HiddenRows::Keep)
            rows << cells.join(sep);
        else if (hidden == HiddenRows::Bracket)
            rows << QLatin1Char('[') + cells.join(sep) + QLatin1Char(']');
    }
    return rows;
}

// Chooses a list entry as a click does.
inline void Choose(QComboBox* list, int index)
{
    list->setCurrentIndex(index);
    emit list->activated(index);
}

// The books of a window test without a main window: every window
// registered, the open windows hearing the change notices directly.
inline std::unique_ptr<TestDataSet> WindowBooks()
{
    auto data = std::make_unique<TestDataSet>();
    RegisterAllWindows();
    QObject::connect(modGlobal::DBEvent(), &clsDBEvent::DBChange, &Windows::Broadcast);
    return data;
}

// The main window loaded from the data set's books, with no password asked
// for; the test shows it once its data is in place.
inline std::unique_ptr<frmMain> LoadMainWindow()
{
    auto main = std::make_unique<frmMain>();
    if (!main->Loaded())
        QTest::qFail("the main window did not load the books", __FILE__, __LINE__);
    modPassword::Store_Password(QString());
    return main;
}

// Every window closed as the user closes it, then the main window.
inline void CloseMainWindow(std::unique_ptr<frmMain>& main)
{
    if (!main)
        return;
    for (frmChild* w : frmChild::OpenWindows())
        w->Frame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    main->close();
    main.reset();
}

} // namespace WindowTest

using namespace WindowTest;
