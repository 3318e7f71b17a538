#pragma once

class Dataset;

// A template dataset (DefFields) whose field settings a dataset takes over.
namespace FieldTemplate {

// With attached controls disabled, for each field of the dataset: the first result column
// (field number 1) without an origin gets the display label "*" + its name and nothing else;
// any other field named in the template takes the template field's alignment, display label,
// display width, edit mask, lookup references, origin, display and edit format (numbers) or
// display format (dates). A lookup table that is a TDMTable counts one more use.
void apply(Dataset& dataset, const Dataset& templ);

// For each field other than field number 1 whose lookup dataset is a TDMTable: one use less
// for that table (closed when no use is left) and the field's lookup references cleared.
void release(Dataset& dataset);

}  // namespace FieldTemplate
