#pragma once

#include "shell/WindowServices.h"
#include "shell/frmPassword.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QtTest/QTest>

// Answers every modal dialog with a function of the test's choosing, for
// as long as it lives.
struct ModalScript {
    explicit ModalScript(WindowServices::ModalHook hook) { m_previous = WindowServices::SetModalHook(std::move(hook)); }
    ~ModalScript() { WindowServices::SetModalHook(m_previous); }
    WindowServices::ModalHook m_previous;
};

// Types each text into the password window and clicks OK, until it closes;
// then Cancel if asked.
inline int AnswerPassword(QDialog* d, const QStringList& typed, bool cancel = false)
{
    auto* pw = qobject_cast<frmPassword*>(d);
    if (!pw) {
        QTest::qFail(qPrintable("expected the password window, not " + d->objectName()), __FILE__, __LINE__);
        return QDialog::Rejected;
    }
    for (const QString& t : typed) {
        if (pw->result() == QDialog::Accepted)
            break;
        pw->txtPassword->setText(t);
        pw->cmdOK->click();
    }
    if (cancel)
        pw->cmdCancel->click();
    return pw->result();
}
