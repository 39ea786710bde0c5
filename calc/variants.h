#pragma once

#include "earthing.h"
#include "fit.h"

#include <string>
#include <vector>

// Variants of one object side by side: for each set of inputs one run of ComputeEarthing, and a table
// with a column per variant and a row per input and per result, the best value of each result row
// marked. Everything in it is text as the window and the document show it.

struct TVariant {
    std::u16string Name; // the column's heading
    TEarthingInput Input;
};

struct TVariantsRow {
    std::u16string Name;               // "Общее сопротивление R, Ом"
    std::vector<std::u16string> Cells; // one a variant, "-" where the run gives no value
    std::vector<bool> Best;            // one a variant; never set in a row of inputs
    bool Result = false;               // a row of results (false: a row of inputs)
};

struct TVariantsTable {
    std::vector<std::u16string> Columns; // the variants' names
    std::vector<TVariantsRow> Rows;
    std::u16string Note; // what the masses assume
};

// The table of `variants` judged against `norm` (raised, when chosen, by each variant's own soil),
// numbers with the user's decimal separator. In each row of resistances or masses the lowest value is
// best, every variant that shows the same text as it too; in the verdict's row every variant that meets
// the norm. A variant without a total is best in no row. The length of the connector is not judged.
TVariantsTable BuildVariantsTable(const std::vector<TVariant>& variants, const TNormChoice& norm,
                                  char16_t userSeparator, char16_t systemSeparator);

// The table as tab-separated lines ending in "\n" for a spreadsheet: the headings, then a line a row,
// the row's name first; no marks, so the numbers stay numbers. Tabs and line breaks inside a text
// become spaces.
std::u16string VariantsTableText(const TVariantsTable& table);
