#pragma once

class QLineEdit;

// An amount box as it is left. What it holds becomes the amount form
// ("$1,234.50"). What is no amount is refused: a beep, "$0.00" in the box,
// a red frame round it and the note in the status bar ("'1O0' is not an
// amount"), both kept until an amount is typed into the box, so that a
// refused amount is seen on a muted computer too.
namespace AmountBox {

void Leave(QLineEdit* box);
// The box was filled by the program: whatever was refused is gone.
void Clear_Refusal(QLineEdit* box);
// Whether the box is marked as refused.
bool Refused(const QLineEdit* box);

} // namespace AmountBox
