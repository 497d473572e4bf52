#pragma once

#include "widgets/WindowServices.h"
#include "app/frmPassword.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
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

// The print dialog answered by printing to a PDF file, on the paper given
// or the printer's own; any other dialog is refused.
inline WindowServices::ModalHook PrintTo(const QString& pdf, const QPageSize& paper = QPageSize())
{
    return [pdf, paper](QDialog* d) {
        auto* pd = qobject_cast<QPrintDialog*>(d);
        if (!pd)
            return int(QDialog::Rejected);
        pd->printer()->setOutputFormat(QPrinter::PdfFormat);
        pd->printer()->setOutputFileName(pdf);
        if (paper.isValid())
            pd->printer()->setPageSize(paper);
        return int(QDialog::Accepted);
    };
}

// A file dialog answered with a path; given a name, only that dialog.
inline WindowServices::ModalHook ChooseFile(const QString& path, const QString& dialog = QString())
{
    return [path, dialog](QDialog* d) {
        auto* fd = qobject_cast<QFileDialog*>(d);
        if (!fd || (!dialog.isEmpty() && fd->objectName() != dialog))
            return int(QDialog::Rejected);
        fd->selectFile(path);
        return int(QDialog::Accepted);
    };
}

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
