#include "exchange/XlsxWriter.h"

#include <QFile>

#include <xlsxwriter.h>

namespace {

QString reasonOf(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

// Closes (and so writes) the workbook however the writing ends.
class WorkbookHandle {
public:
    explicit WorkbookHandle(lxw_workbook* workbook) : workbook_(workbook) {}
    ~WorkbookHandle()
    {
        if (workbook_)
            workbook_close(workbook_);
    }
    WorkbookHandle(const WorkbookHandle&) = delete;
    WorkbookHandle& operator=(const WorkbookHandle&) = delete;
    lxw_workbook* get() const { return workbook_; }
    lxw_error close()
    {
        const lxw_error error = workbook_close(workbook_);
        workbook_ = nullptr;
        return error;
    }

private:
    lxw_workbook* workbook_;
};

}  // namespace

QString writeXlsxFile(const QString& path, const std::vector<SheetContent>& sheets)
{
    // Rows are written in order, so each row goes to the file as the next one starts (texts inline,
    // no table of shared strings): the memory stays the same whatever the number of rows.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    WorkbookHandle workbook(workbook_new_opt(QFile::encodeName(path).constData(), &options));
    if (!workbook.get())
        return QStringLiteral("delovnega zvezka ni mogoče ustvariti");
    // A date "dd.mm.yyyy", the built-in format of a time of day (21), a date with a time.
    auto numberFormat = [&](const char* code) {
        lxw_format* format = workbook_add_format(workbook.get());
        format_set_num_format(format, code);
        return format;
    };
    lxw_format* const date = numberFormat("dd.mm.yyyy");
    lxw_format* const time = workbook_add_format(workbook.get());
    format_set_num_format_index(time, 21);
    lxw_format* const dateTime = numberFormat("dd.mm.yyyy hh:mm:ss");
    auto formatOf = [&](Cell::Kind kind) -> lxw_format* {
        return kind == Cell::Kind::Date ? date : kind == Cell::Kind::Time ? time : kind == Cell::Kind::DateTime ? dateTime : nullptr;
    };
    for (const SheetContent& sheet : sheets) {
        lxw_worksheet* worksheet = workbook_add_worksheet(workbook.get(), sheet.name.toUtf8().constData());
        if (!worksheet)
            return QStringLiteral("lista \"%1\" ni mogoče dodati").arg(sheet.name);
        for (int r = 1; r <= sheet.values.rows(); ++r) {
            for (int c = 1; c <= sheet.values.columns(); ++c) {
                const Cell& cell = sheet.values.at(r, c);
                lxw_error error = LXW_NO_ERROR;
                if (cell.kind() == Cell::Kind::Number || cell.isDateOrTime())
                    error = worksheet_write_number(worksheet, lxw_row_t(r - 1), lxw_col_t(c - 1), cell.numberValue(),
                                                   formatOf(cell.kind()));
                else if (!cell.isEmpty())
                    error = worksheet_write_string(worksheet, lxw_row_t(r - 1), lxw_col_t(c - 1),
                                                   cell.toText().toUtf8().constData(), nullptr);
                if (error != LXW_NO_ERROR)
                    return reasonOf(error);
            }
        }
    }
    const lxw_error error = workbook.close();
    return error == LXW_NO_ERROR ? QString() : reasonOf(error);
}
