#pragma once

#include <QAbstractTableModel>
#include <cstdint>

namespace torvin {

class TLocalEncoding;
class TTitleList;
struct TTitleRow;

// The title table as the view sees it: one row per title row, seven columns (title and
// the six sub-items). Texts are converted to the toolkit's strings only when drawn.
class TTitleModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    TTitleModel(TTitleList& rows, const TLocalEncoding& encoding, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Tells the view about rows appended to the list since the last call.
    void RowsAppended();
    // Removes every row.
    void Clear();
    // Sorts the rows under `key`; selections and other persistent indexes follow their rows.
    void Sort(std::int32_t key);

    TTitleRow* RowAt(int row) const;

private:
    TTitleList& rows;
    const TLocalEncoding& encoding;
    int shown = 0;
};

}  // namespace torvin
