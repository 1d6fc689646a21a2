#pragma once
// The key of an item wherever items are added up or compared: material name and model
// (category and unit play no part), with Latin letters folded to one case as the database
// compares the item columns. Every stock figure, the stock check and the item locks use it.

#include <QHash>
#include <QString>

namespace mv {

struct ItemKey
{
    QString name;
    QString model;
    friend bool operator==(const ItemKey&, const ItemKey&) = default;
};

ItemKey itemKey(const QString& name, const QString& model);

inline size_t qHash(const ItemKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.name, key.model);
}

} // namespace mv
