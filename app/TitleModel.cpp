#include "app/TitleModel.h"

#include <unordered_map>

#include "cds/TitleList.h"
#include "text/LocalEncoding.h"
#include "titles/CompareItems.h"

namespace torvin {

namespace {

const char* const kCaptions[] = {"タイトル", "開始時間", "サイズ", "録画時間", "チャンネル", "ID", "URL"};

}  // namespace

TTitleModel::TTitleModel(TTitleList& r, const TLocalEncoding& e, QObject* parent)
    : QAbstractTableModel(parent), rows(r), encoding(e), shown(static_cast<int>(r.Count())) {}

int TTitleModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown; }

int TTitleModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 7; }

QVariant TTitleModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= shown) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        const TTitleRow& row = rows[static_cast<std::size_t>(index.row())];
        const std::string& text =
            index.column() == 0 ? row.caption : row.SubItem(static_cast<std::size_t>(index.column() - 1));
        return QString::fromUtf8(encoding.ToUtf8Text(text));
    }
    if (role == Qt::TextAlignmentRole) {
        const int c = index.column();
        const bool right = c == 2 || c == 3 || c == 5;
        return QVariant::fromValue(Qt::Alignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
    return {};
}

bool TTitleModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != 0 || role != Qt::EditRole) return false;
    // The edited caption is the row's title from now on; the title sort compares it.
    rows[static_cast<std::size_t>(index.row())].caption = encoding.FromUtf8Text(value.toString().toStdString());
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QVariant TTitleModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= 7) return {};
    if (role == Qt::DisplayRole) return QString::fromUtf8(kCaptions[section]);
    if (role == Qt::TextAlignmentRole) {
        const bool right = section == 2 || section == 3 || section == 5;
        return QVariant::fromValue(Qt::Alignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
    return {};
}

Qt::ItemFlags TTitleModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 0) f |= Qt::ItemIsEditable;
    return f;
}

void TTitleModel::RowsAppended() {
    const int count = static_cast<int>(rows.Count());
    if (count <= shown) return;
    beginInsertRows({}, shown, count - 1);
    shown = count;
    endInsertRows();
}

void TTitleModel::Clear() {
    beginResetModel();
    rows.Clear();
    shown = 0;
    endResetModel();
}

void TTitleModel::Sort(std::int32_t key) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<const TTitleRow*> owners;
    owners.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& i : before) owners.push_back(&rows[static_cast<std::size_t>(i.row())]);

    SortTitles(rows, key);

    std::unordered_map<const TTitleRow*, int> position;
    if (!before.isEmpty()) {
        position.reserve(rows.Count());
        for (std::size_t i = 0; i < rows.Count(); ++i) position.emplace(&rows[i], static_cast<int>(i));
    }
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        after.push_back(index(position[owners[static_cast<std::size_t>(i)]], before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

TTitleRow* TTitleModel::RowAt(int row) const {
    if (row < 0 || row >= shown) return nullptr;
    return &rows[static_cast<std::size_t>(row)];
}

}  // namespace torvin
