#pragma once

#include "app/AllWindows.h"
#include "widgets/WindowServices.h"
#include "widgets/Windows.h"
#include "core/clsDBEvent.h"
#include "widgets/frmChild.h"
#include "core/modGlobal.h"

#include <QMdiArea>
#include <QtTest/QTest>

// The main window's area for window tests, as the running program has it:
// every window registered, change notices reaching the open windows, the
// area shown at a main window's size. When it goes, every window the test
// opened goes with it, before the test's data set does.
class TestWindowArea {
public:
    explicit TestWindowArea(const QSize& size)
    {
        RegisterAllWindows();
        QObject::connect(modGlobal::DBEvent(), &clsDBEvent::DBChange, &Windows::Broadcast);
        m_area.resize(size);
        WindowServices::SetMainArea(&m_area);
        m_area.show();
        m_exposed = QTest::qWaitForWindowExposed(&m_area);
    }
    ~TestWindowArea()
    {
        WindowServices::SetModalHook(nullptr);
        for (frmChild* w : frmChild::OpenWindows())
            delete w;
        WindowServices::SetMainArea(nullptr);
    }
    TestWindowArea(const TestWindowArea&) = delete;
    TestWindowArea& operator=(const TestWindowArea&) = delete;

    QMdiArea* Area() { return &m_area; }
    bool Exposed() const { return m_exposed; }

private:
    QMdiArea m_area;
    bool m_exposed = false;
};
