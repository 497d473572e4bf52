#pragma once

#include "modOffering.h"

#include <QList>
#include <QObject>

class QComboBox;
class QGridLayout;
class QLineEdit;
class QWidget;

// The controls of a window's fund/amount lines: cboFund(i) beside
// txtAmount(i), i from 1. Copies lines to the controls and back; amount
// boxes select their text on focus and take the amount format when left.
class FundLinesView : public QObject {
    Q_OBJECT
public:
    // Makes the lines on parent, laid out in columns of rowsPerColumn lines
    // by Layout(), which the window puts where the lines belong.
    FundLinesView(QWidget* parent, int n, int rowsPerColumn);
    QGridLayout* Layout() const { return m_grid; }

    int Count() const { return int(m_combos.size()); }
    QComboBox* Fund(int line) const { return m_combos.at(line - 1); }
    QLineEdit* Amount(int line) const { return m_amounts.at(line - 1); }

    void Show(const OfferingLines& lines);
    // The lines as the user left them: chosen funds and typed amounts.
    OfferingLines Lines() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QComboBox*> m_combos;
    QList<QLineEdit*> m_amounts;
    OfferingLines m_lines;
    QGridLayout* m_grid;
};
