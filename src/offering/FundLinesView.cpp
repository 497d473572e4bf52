#include "FundLinesView.h"

#include "widgets/AmountBox.h"

#include "core/Helpers.h"
#include "widgets/Layouts.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLineEdit>

FundLinesView::FundLinesView(QWidget* parent, int n, int rowsPerColumn) : QObject(parent), m_grid(new QGridLayout)
{
    for (int i = 1; i <= n; ++i) {
        const int column = (i - 1) / rowsPerColumn, row = (i - 1) % rowsPerColumn;
        auto* combo = Layouts::Combo(parent, QStringLiteral("cboFund(%1)").arg(i).toLatin1().constData());
        auto* amount = Layouts::Box(parent, QStringLiteral("txtAmount(%1)").arg(i).toLatin1().constData(), 0, Qt::AlignRight);
        amount->setText(QStringLiteral("$0.00"));
        Layouts::FitAmount(amount);
        // The fund takes the width; a gap of a few letters between columns.
        m_grid->addWidget(combo, row, column * 3);
        m_grid->addWidget(amount, row, column * 3 + 1);
        m_grid->setColumnStretch(column * 3, 1);
        if (column > 0)
            m_grid->setColumnMinimumWidth(column * 3 - 1, parent->fontMetrics().averageCharWidth() * 2);
        amount->installEventFilter(this);
        if (!m_amounts.isEmpty())
            QWidget::setTabOrder(m_amounts.last(), combo);
        QWidget::setTabOrder(combo, amount);
        m_combos.append(combo);
        m_amounts.append(amount);
    }
    m_lines = OfferingLines(n);
}

bool FundLinesView::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* box = qobject_cast<QLineEdit*>(watched)) {
        if (event->type() == QEvent::FocusOut)
            AmountBox::Leave(box);
        else if (event->type() == QEvent::FocusIn)
            box->selectAll();
    }
    return QObject::eventFilter(watched, event);
}

void FundLinesView::Show(const OfferingLines& lines)
{
    m_lines = lines;
    for (int i = 0; i < m_combos.size() && i < lines.size(); ++i) {
        QComboBox* combo = m_combos[i];
        const OfferingLine& line = lines.at(i);
        combo->blockSignals(true);
        combo->clear();
        for (const FundItem& item : line.items)
            combo->addItem(item.text, item.fundID);
        combo->setCurrentIndex(line.selected);
        combo->blockSignals(false);
        AmountBox::Clear_Refusal(m_amounts[i]);
        m_amounts[i]->setText(line.amount);
    }
}

OfferingLines FundLinesView::Lines() const
{
    OfferingLines lines = m_lines;
    for (int i = 0; i < lines.size() && i < m_combos.size(); ++i) {
        OfferingLine& line = lines[i];
        line.selected = m_combos[i]->currentIndex();
        // Text typed but not yet left is read as the box will show it.
        double value = 0;
        line.amount = modGlobal::ParseNumber(m_amounts[i]->text(), &value) ? modGlobal::FormatAmount(value)
                                                                           : m_amounts[i]->text();
        // A fund the user chose stays chosen when the lists are refilled.
        if (line.HasFund())
            line.lineFundID = line.ChosenFund();
    }
    return lines;
}
