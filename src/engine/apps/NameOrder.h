#pragma once

#include <QCollator>
#include <QString>

#include <algorithm>

namespace harborlite {

// The order a file browser shows names in: case-insensitive, digit runs compared
// by value ("item2" before "item10"), locale-aware; names that compare equal keep
// their order.
class NameOrder {
public:
    NameOrder();

    bool lessThan(const QString& a, const QString& b) const { return collator_.compare(a, b) < 0; }

    template <typename List, typename NameOf>
    void sort(List& list, NameOf nameOf) const
    {
        std::stable_sort(list.begin(), list.end(),
                         [&](const auto& a, const auto& b) { return lessThan(nameOf(a), nameOf(b)); });
    }

private:
    QCollator collator_;
};

} // namespace harborlite
