// A map for the few entries the adapter keeps (started processes, enumerated
// devices, open paints): a vector searched from the front. It offers what
// the adapter uses of std::map, without the balanced tree's code, which
// would cost W2KSetup.exe several kilobytes.
#pragma once

#include <utility>
#include <vector>

namespace win32 {

template <typename Key, typename Value>
class SmallMap {
public:
    using Entries = std::vector<std::pair<Key, Value>>;
    using iterator = typename Entries::iterator;
    using const_iterator = typename Entries::const_iterator;

    iterator begin() { return m_entries.begin(); }
    iterator end() { return m_entries.end(); }
    const_iterator end() const { return m_entries.end(); }

    const_iterator find(const Key& key) const
    {
        const_iterator entry = m_entries.begin();
        while (entry != m_entries.end() && !(entry->first == key))
            ++entry;
        return entry;
    }
    iterator find(const Key& key)
    {
        const SmallMap& self = *this;
        return m_entries.begin() + (self.find(key) - m_entries.cbegin());
    }

    Value& operator[](const Key& key)
    {
        iterator entry = find(key);
        if (entry != m_entries.end())
            return entry->second;
        m_entries.emplace_back(key, Value());
        return m_entries.back().second;
    }

    iterator erase(iterator entry) { return m_entries.erase(entry); }

private:
    Entries m_entries;
};

}  // namespace win32
