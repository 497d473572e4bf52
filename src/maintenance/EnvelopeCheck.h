#pragma once

#include <QString>

// Offering entry finds a contributor by the envelope number of the pledge
// to a fund; two people with one number is how gifts end up on the wrong
// statement. The pledge dialog asks before it gives a number twice.
namespace EnvelopeCheck {

// The name (last name first) of another active contributor whose pledge to
// that fund carries the number; "" when nobody else has it (and for 0).
QString Used_By(int fundID, int accountNumber, int contributorID);
// "Envelope number 101 is already used by Smith, John. Use it anyway?"
QString Question(int accountNumber, const QString& name);

} // namespace EnvelopeCheck
