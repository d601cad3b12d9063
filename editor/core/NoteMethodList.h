#pragma once
// A list of handlers with identities, the editor's form of a list of method pointers: an
// entry's id (object, code) says which method it is, so the same method can be added twice
// and removing it takes out every occurrence. Used by the event chains and the keyboard
// handler.

#include <functional>
#include <utility>
#include <vector>

struct TNoteMethodId {
    const void* Data = nullptr;
    int Code = 0;
    friend bool operator==(const TNoteMethodId&, const TNoteMethodId&) = default;
};

template <class Signature>
class TNoteMethodList {
public:
    using Handler = std::function<Signature>;

    void Add(TNoteMethodId id, Handler handler) { FItems.emplace_back(id, std::move(handler)); }
    void Remove(TNoteMethodId id) {
        for (int i = Count() - 1; i >= 0; --i)
            if (FItems[i].first == id) FItems.erase(FItems.begin() + i);
    }
    int Count() const { return static_cast<int>(FItems.size()); }
    // A copy, so that a handler may change the list while it runs.
    Handler Item(int index) const { return FItems[index].second; }

private:
    std::vector<std::pair<TNoteMethodId, Handler>> FItems;
};
