#pragma once

#include "SampleData.h"
#include "support/TestDataSet.h"

#include <memory>

// The test's data set replaced by books the generator filled: it fills an
// untouched file, the same books for the same numbers on every machine.
inline void GenerateBooks(std::unique_ptr<TestDataSet>& data, int contributors, int years)
{
    data.reset();
    data = std::make_unique<TestDataSet>();
    SampleData::Params p;
    p.contributors = contributors;
    p.years = years;
    p.lastYear = 2025;
    SampleData::Generate(p);
}
