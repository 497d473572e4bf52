#pragma once

#include <QString>

// A made-up but lifelike data set, the same for the same parameters on every
// machine: contributors (some inactive, some without envelopes, names with
// apostrophes and accents, missing addresses), funds of every kind, pledges
// per year with envelope and auxiliary numbers, weekly collection sets with
// loose offering, gifts to several funds, prior-year and pre-paid gifts,
// corrections and comments.
namespace SampleData {

struct Params {
    int contributors = 60;
    int years = 2;       // full calendar years of weekly collection sets
    int lastYear = 2025; // the newest year; its pledges are the active ones
    quint64 seed = 20261206;
};

struct Counts {
    int funds = 0, contributors = 0, pledges = 0, collections = 0, offerings = 0, comments = 0;
};

// Fills the open data file (modGlobal::DB(), tables ready, no rows of its
// own beyond the Church row and the main fund) in one transaction.
Counts Generate(const Params& p);

// Creates a data file at path (replacing one that is there) and fills it.
Counts CreateFile(const QString& path, const Params& p);

} // namespace SampleData
