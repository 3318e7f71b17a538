#pragma once

#include <QtGlobal>

// Record types of the BIFF8 stream of a legacy .xls workbook, as the writer and the reader of
// formula results use them.
namespace BiffRecord {
enum : quint16 {
    kBof = 0x0809,
    kEof = 0x000A,
    kCodePage = 0x0042,
    kDateMode = 0x0022,
    kWindow1 = 0x003D,
    kFont = 0x0031,
    kXf = 0x00E0,
    kFormat = 0x041E,
    kStyle = 0x0293,
    kBoundSheet = 0x0085,
    kSst = 0x00FC,
    kContinue = 0x003C,
    kDimensions = 0x0200,
    kLabelSst = 0x00FD,
    kNumber = 0x0203,
    kFormula = 0x0006,
    kString = 0x0207,
    kWindow2 = 0x023E,
};
}  // namespace BiffRecord
