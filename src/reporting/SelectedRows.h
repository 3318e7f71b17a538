#pragma once

#include <QtGlobal>

#include <functional>

class Dataset;
class Field;
class TFilter;

// The rows a gathering statement returned (columns DpAtvpId, IdPsl, IsStn, IDREFATVP) posted as
// DPATVPPSL rows through the table component, so every row passes the audit trail. The
// component is reopened empty first, so the rows of earlier steps do not pile up in its buffer.
// The rows and their audit rows are written in sets (WriteBatch), all of them before it returns.
// trace, when set, is given each row's four values before the row is posted; progress, when
// set, the rows done and the rows there are before each row. A row that fails to post is
// cancelled and its error passes on.
using SelectedRowTrace = std::function<void(const Field& reportId, const Field& tradeId,
                                            const Field& cancelled, const Field& reference)>;
using SelectedRowProgress = std::function<void(qint64 done, qint64 known)>;
void postSelectedRows(TFilter& table, Dataset& rows, const SelectedRowTrace& trace = {},
                      const SelectedRowProgress& progress = {});
