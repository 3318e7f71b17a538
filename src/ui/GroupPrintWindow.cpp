#include "ui/GroupPrintWindow.h"

#include "core/Formats.h"
#include "data/dataset/DatasetModel.h"
#include "data/dataset/Queries.h"
#include "data/engine/OleDate.h"
#include "listing/LocalTable.h"
#include "ui/BusyProgress.h"
#include "ui/TFwwDBGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace GroupQueries;

namespace {

// Characters of a sum column at least: "-999.999.999,99".
constexpr int kSumWidth = 15;

// The result rows with the total-row literals of the group columns shown as the marker text.
// Date group columns are read as day numbers (their total literal is no date) and shown as
// dates here.
class MarkerModel : public QIdentityProxyModel {
public:
    MarkerModel(QAbstractItemModel* source, QList<FieldType> groupTypes, std::function<QString()> marker, bool colours,
                QObject* parent)
        : QIdentityProxyModel(parent), groupTypes_(std::move(groupTypes)), marker_(std::move(marker)), colours_(colours)
    {
        setSourceModel(source);
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        const bool group = index.column() < groupTypes_.size();
        if (group && role == Qt::DisplayRole) {
            const QVariant value = QIdentityProxyModel::data(index, DatasetModel::ValueRole);
            if (isTotal(value))
                return marker_();
            const FieldType type = groupTypes_[index.column()];
            if ((type == FieldType::Date || type == FieldType::DateTime) && value.isValid() && !value.isNull()) {
                const QDateTime at = OleDate::toDateTime(value.toDouble());
                return type == FieldType::Date ? Formats::dateText(at.date()) : Formats::dateTimeText(at);
            }
        }
        if (group && colours_ && role == Qt::BackgroundRole)
            return QApplication::palette().color(QPalette::Highlight);
        if (group && colours_ && role == Qt::ForegroundRole)
            return QApplication::palette().color(QPalette::HighlightedText);
        return QIdentityProxyModel::data(index, role);
    }
    static bool isTotal(const QVariant& v)
    {
        if (v.typeId() == QMetaType::QString)
            return v.toString().startsWith(QChar(0xFF)) || v.toString().startsWith(QLatin1String("03/10/2999"));
        if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
            return v.toDate() == QDate(2999, 3, 10) || v.toDateTime().date() == QDate(2999, 3, 10);
        bool ok = false;
        const double d = v.toDouble(&ok);
        return ok && (d == -32000 || d == 68719476736.0);
    }

private:
    QList<FieldType> groupTypes_;
    std::function<QString()> marker_;
    bool colours_;
};

FieldDef fieldOf(const LocalField& f, const QString& label)
{
    FieldDef d;
    d.name = f.name;
    d.type = f.type;
    d.size = f.size;
    d.displayLabel = label;
    d.displayWidth = f.name == QLatin1String("N") ? 6 : f.displayWidth;
    d.displayFormat = f.displayFormat;
    return d;
}

QPointer<GroupPrintWindow>& instance()
{
    static QPointer<GroupPrintWindow> window;
    return window;
}

}  // namespace

GroupPrintWindow* GroupPrintWindow::open(const Dataset& source, const QString& titleText)
{
    if (!instance())
        instance() = new GroupPrintWindow;
    instance()->setSource(source, titleText);
    instance()->show();
    instance()->raise();
    return instance();
}

GroupPrintWindow::GroupPrintWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("GroupPrintWindow"));
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(820, 560);
    auto* layout = new QVBoxLayout(this);
    title = new QPlainTextEdit(this);
    title->setObjectName(QStringLiteral("title"));
    title->setMaximumHeight(48);
    layout->addWidget(title);
    pcGroup = new QTabWidget(this);
    pcGroup->setObjectName(QStringLiteral("pcGroup"));
    layout->addWidget(pcGroup, 1);

    auto* settings = new QWidget;
    settings->setObjectName(QStringLiteral("tsNastavitve"));
    auto* settingsLayout = new QHBoxLayout(settings);
    auto* tempPanel = new QWidget(settings);
    dbgTemp = new TFwwDBGrid(tempPanel);
    dbgTemp->setObjectName(QStringLiteral("dbgTemp"));
    dbgTemp->setTitleClickShowsButtons(false);
    connect(dbgTemp->horizontalHeader(), &QHeaderView::sectionClicked, this, &GroupPrintWindow::resplitAt);
    settingsLayout->addWidget(tempPanel, 3);
    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(QStringLiteral("Sortiranje / grupiranje po :")));
    lbGroup = new QListWidget(settings);
    lbGroup->setObjectName(QStringLiteral("lbGroup"));
    side->addWidget(lbGroup);
    auto* markerRow = new QFormLayout;
    eMarker = new QLineEdit(QString(33, QChar(0xD7)), settings);
    eMarker->setObjectName(QStringLiteral("eMarker"));
    markerRow->addRow(QStringLiteral("Oznaka za skupaj :"), eMarker);
    side->addLayout(markerRow);
    side->addWidget(new QLabel(QStringLiteral("Sumarna polja pri grupiranju :")));
    lbSum = new QListWidget(settings);
    lbSum->setObjectName(QStringLiteral("lbSum"));
    side->addWidget(lbSum);
    cbOperator = new QCheckBox(QStringLiteral("Pokaži sumarni operator"), settings);
    cbOperator->setObjectName(QStringLiteral("cbOperator"));
    cbOperator->setChecked(true);
    side->addWidget(cbOperator);
    lbOther = new QListWidget(settings);
    lbOther->setObjectName(QStringLiteral("lbOther"));
    lbOther->hide();
    auto* sortButton = new QPushButton(QStringLiteral("Sortiranje"), settings);
    sortButton->setObjectName(QStringLiteral("bSortiranje"));
    auto* groupButton = new QPushButton(QStringLiteral("Grupiranje"), settings);
    groupButton->setObjectName(QStringLiteral("bGrupiranje"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(sortButton);
    buttons->addWidget(groupButton);
    side->addLayout(buttons);
    settingsLayout->addLayout(side, 2);
    pcGroup->addTab(settings, QStringLiteral("Nastavitve"));

    const auto resultTab = [this](const char* name, const char* gridName, const QString& caption) {
        auto* page = new QWidget;
        page->setObjectName(QLatin1String(name));
        auto* grid = new TFwwDBGrid(page);
        grid->setObjectName(QLatin1String(gridName));
        using G = TFwwDBGrid;
        grid->setGridButtons(G::gbLocate | G::gbPrint | G::gbGraph | G::gbTitleWordWrap | G::gbCopyToClip);
        pcGroup->addTab(page, caption);
        return grid;
    };
    dbgQ = resultTab("tsSortiranje", "dbgQ", QStringLiteral("Sortiranje"));
    dbgQG = resultTab("tsGrupiranje", "dbgQG", QStringLiteral("Grupiranje"));

    connect(title, &QPlainTextEdit::textChanged, this, [this] {
        dbgQ->setLabelText(title->toPlainText());
        dbgQG->setLabelText(title->toPlainText());
    });
    connect(lbGroup, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { toggleGroup(lbGroup->row(item)); });
    connect(lbSum, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { cycleSum(lbSum->row(item)); });
    connect(cbOperator, &QCheckBox::toggled, this, &GroupPrintWindow::fillLists);
    connect(sortButton, &QPushButton::clicked, this, &GroupPrintWindow::showSorted);
    connect(groupButton, &QPushButton::clicked, this, &GroupPrintWindow::showGrouped);
}

GroupPrintWindow::~GroupPrintWindow() = default;

void GroupPrintWindow::setSource(const Dataset& source, const QString& titleText)
{
    closeAll();
    cbOperator->setChecked(true);
    title->setPlainText(titleText);
    setWindowTitle(QStringLiteral("Grupiranje in vsote") + (titleText.isEmpty() ? QString() : QStringLiteral(" - ") + titleText));
    // The results exist only once their button made them.
    pcGroup->setTabEnabled(1, false);
    pcGroup->setTabEnabled(2, false);
    {
        BusyProgress busy(this, QStringLiteral("Copy to local table"), source.recordCount());
        table_ = std::make_unique<LocalTable>(source, [&busy](int done, int total) { return busy.step(done, total); });
    }
    temp_ = std::make_unique<TUniQuery>(table_->connection(), QStringLiteral("tTemp"));
    for (const LocalField& f : table_->fields())
        temp_->addField(fieldOf(f, f.label));
    temp_->setSql(QStringLiteral("SELECT * FROM \"%1\"").arg(table_->name()));
    temp_->open();
    dbgTemp->setModel(new DatasetModel(temp_.get(), dbgTemp));
    split_ = defaultSplit(table_->fields());
    fillLists();
    pcGroup->setCurrentIndex(0);
}

void GroupPrintWindow::fillLists()
{
    lbGroup->clear();
    lbSum->clear();
    lbOther->clear();
    for (const GroupField& g : split_.groups)
        lbGroup->addItem((g.subtotals ? QString() : QStringLiteral("××")) + g.field.label);
    for (const SumField& s : split_.sums)
        lbSum->addItem(cbOperator->isChecked() ? opName(s.op) + u' ' + s.field.label : s.field.label);
    for (const LocalField& f : split_.leftOut)
        lbOther->addItem(f.label);
}

void GroupPrintWindow::resplitAt(int column)
{
    if (!table_ || column < 1)
        return;
    split_ = splitAt(table_->fields(), column);
    fillLists();
}

void GroupPrintWindow::toggleGroup(int index)
{
    if (index < 0 || index >= split_.groups.size())
        return;
    split_.groups[index].subtotals = !split_.groups[index].subtotals;
    fillLists();
}

void GroupPrintWindow::cycleSum(int index)
{
    if (index < 0 || index >= split_.sums.size())
        return;
    SumOp& op = split_.sums[index].op;
    op = op == SumOp::Sum ? SumOp::Avg : op == SumOp::Avg ? SumOp::Min : op == SumOp::Min ? SumOp::Max : SumOp::Sum;
    fillLists();
}

void GroupPrintWindow::openResult(TUniQuery& query, TFwwDBGrid* grid, const QStringList& sql, bool groupColours)
{
    QList<FieldType> groupTypes;
    for (const GroupField& g : split_.groups) {
        FieldDef d = fieldOf(g.field, g.field.label);
        if (isDateTimeType(d.type))
            d.type = FieldType::Float;  // day numbers, or the total literal
        query.addField(d);
        groupTypes << g.field.type;
    }
    for (const SumField& s : split_.sums) {
        FieldDef d = fieldOf(s.field, cbOperator->isChecked() ? opName(s.op) + u' ' + s.field.label : s.field.label);
        if (d.name != QLatin1String("N")) {
            // A total or an average outgrows the values it sums; an average of numbers shown
            // without a format would show every digit of its fraction.
            d.displayWidth = std::max(d.displayWidth, kSumWidth);
            if (s.op == SumOp::Avg && d.displayFormat.isEmpty())
                d.displayFormat = QStringLiteral(",0.00##");
        }
        query.addField(d);
    }
    query.setSql(sql);
    query.open();
    auto* rows = new DatasetModel(&query, grid);
    grid->setModel(new MarkerModel(rows, groupTypes, [this] { return eMarker->text(); }, groupColours, grid));
    grid->setLabelText(title->toPlainText());
}

void GroupPrintWindow::showSorted()
{
    if (!table_)
        return;
    dbgQ->setModel(nullptr);
    sorted_ = std::make_unique<TUniQuery>(table_->connection(), QStringLiteral("qSort"));
    openResult(*sorted_, dbgQ, sortQuery(table_->name(), split_), false);
    pcGroup->setTabEnabled(1, true);
    pcGroup->setCurrentIndex(1);
}

void GroupPrintWindow::showGrouped()
{
    if (!table_)
        return;
    dbgQG->setModel(nullptr);
    grouped_ = std::make_unique<TUniQuery>(table_->connection(), QStringLiteral("qGroup"));
    openResult(*grouped_, dbgQG, groupQuery(table_->name(), split_), true);
    pcGroup->setTabEnabled(2, true);
    pcGroup->setCurrentIndex(2);
}

void GroupPrintWindow::closeAll()
{
    for (TFwwDBGrid* grid : {dbgTemp, dbgQ, dbgQG})
        grid->setModel(nullptr);
    grouped_.reset();
    sorted_.reset();
    temp_.reset();
    table_.reset();
}

void GroupPrintWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    closeAll();
}
