#pragma once

#include <QList>
#include <QString>
#include <functional>

// What the pledge grid editor shows and writes, without the window: the
// funds one can pledge to, the contributors with their pledge to one fund,
// the rules by which keys typed into the grid change an amount, and the
// saving of the typed amounts.
namespace PledgeGrid {

// --- the fund list ---------------------------------------------------------

struct FundChoice {
    QString text;
    int fundID = 0; // a fund reference: -Y for the main fund of year Y
    bool operator==(const FundChoice& o) const { return text == o.text && fundID == o.fundID; }
};

struct FundList {
    QList<FundChoice> items;
    int selected = -1; // always the processing year's main fund
};

// The main fund of every year that has pledges, earliest year first, then
// (when it has none) the processing year's main fund, then every
// pledgeable fund by name, inactive ones too.
FundList Fund_List(int processingYear);

// --- the contributors --------------------------------------------------------

struct Row {
    int contributorID = 0;
    QString name;     // last name first
    double amount = 0; // 0 when the contributor has no pledge to the fund
};

// Contributors in name order (active only unless showAll) with the amount
// of their pledge to the fund.
QList<Row> Load_Rows(int fundID, bool showAll);

// The amount of the contributor's pledge to the fund; 0 without one. With
// more than one such pledge the oldest counts, here and when saving.
double Pledge_Amount(int contributorID, int fundID);

struct Contributor {
    bool found = false;
    QString name; // last name first
    bool inactive = false;
};
Contributor Find_Contributor(int contributorID);

// --- typing into the amount column --------------------------------------------

// The keys typed into the grid, one row at a time. A row is named by any
// non-zero number that stays with it while the grid is sorted or rows are
// removed (the window uses the contributor's ID); 0 is no row.
//
// The first amount key typed in a row replaces the row's amount, further
// digits and "." append, Backspace removes the last character, Esc gives
// the row back the amount it had before typing began, and other characters
// change nothing. Once the user leaves the row its amount is normalised,
// and typing there again starts a new amount.
class Typing {
public:
    static constexpr char16_t Backspace = u'\b';
    static constexpr char16_t Escape = u'\x1b';

    struct Result {
        bool setCell = false;
        QString cell; // the amount cell's new text when setCell
    };

    // A key typed on a row whose amount cell holds 'cell'.
    Result Key(int row, QChar key, const QString& cell);
    // The current row became 'row' (0: none). Returns the row whose amount
    // is to be normalised with the amount text, or 0.
    int Row_Changed(int row);
    // The row's amount was replaced from outside (another window saved its
    // pledge) or the row went away: whatever was being typed there is over.
    void Forget_Row(int row);
    void Reset();

    // True once any amount key was typed since the last reset, even when
    // Esc has since restored the amount.
    bool Changed() const { return m_changed; }
    int Last_Typed_Row() const { return m_lastTypedRow; }
    int Editing_Row() const { return m_editingRow; }
    QString Saved_Text() const { return m_savedText; }

private:
    bool m_changed = false;
    int m_lastTypedRow = 0;
    int m_editingRow = 0;
    QString m_savedText;
};

// --- saving ---------------------------------------------------------------

struct TypedRow {
    int contributorID = 0;
    QString text; // the amount cell as it stands
};

// The amount an amount cell stands for, in whole cents as the grid shows
// it; text that is not a number counts as 0.
double Typed_Amount(const QString& text);

// Writes the typed amounts to the fund's pledges, all or nothing: a
// contributor without a pledge gets a new one (no envelope number, active)
// unless the amount is zero; an existing pledge takes the amount when it
// differs by a cent or more. No pledge is ever deleted. 'step' runs once
// per row, before it is handled. Returns the number of pledges written.
int Save_Pledges(int fundID, const QList<TypedRow>& rows, const std::function<void()>& step = {});

} // namespace PledgeGrid
