#pragma once

#include <QString>

#include <functional>
#include <optional>

class Dataset;

// The text that a grid copies to the clipboard: the caption line, the display labels of the
// visible fields each followed by a TAB, then per record the fields' display texts each followed
// by a TAB; every line ended by CR LF. Texts of string, memo, fixed-character and wide-string
// fields lose their carriage returns and are enclosed in double quotes (inner quotes doubled);
// every text then loses its TABs. progress (records done, total) returning false cancels:
// nullopt, nothing to copy.
std::optional<QString> clipboardText(const QString& caption, const Dataset& dataset,
                                     const std::function<bool(int done, int total)>& progress = {});
