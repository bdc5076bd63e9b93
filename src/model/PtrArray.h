#pragma once
// cPtrArray<T>: an owning array with a fixed number of slots; each slot is
// empty or owns one record. The live count is kept by every create and delete.
// Moving records between slots moves ownership, never copies.

#include <algorithm>
#include <memory>
#include <vector>

template <class T> class cPtrArray {
public:
    cPtrArray() = default;
    cPtrArray(cPtrArray&&) noexcept = default;
    cPtrArray& operator=(cPtrArray&&) noexcept = default;
    /** Deep copy: the target takes the source's slot count and copies of its records. */
    cPtrArray(const cPtrArray& other) { *this = other; }
    cPtrArray& operator=(const cPtrArray& other)
    {
        if (this == &other)
            return *this;
        items_.clear();
        items_.resize(other.items_.size());
        for (size_t i = 0; i < items_.size(); ++i)
            if (other.items_[i])
                items_[i] = std::make_unique<T>(*other.items_[i]);
        live_ = other.live_;
        return *this;
    }

    /** Allocates n empty slots (n >= 1), destroying previous contents. */
    bool Alloc(int n)
    {
        if (n < 1)
            return false;
        items_.clear();
        items_.resize(size_t(n));
        live_ = 0;
        return true;
    }
    /** Frees every record and every slot. */
    void Free()
    {
        items_.clear();
        live_ = 0;
    }

    int Size() const { return int(items_.size()); }
    int Count() const { return live_; }
    bool InRange(int i) const { return i >= 0 && i < Size(); }

    /** The record in slot i, or null when i is out of range or the slot is empty. */
    T* Get(int i) const { return InRange(i) ? items_[size_t(i)].get() : nullptr; }
    /** The record in slot i, creating a default one when the slot is empty. */
    T* Create(int i)
    {
        if (!InRange(i))
            return nullptr;
        auto& slot = items_[size_t(i)];
        if (!slot) {
            slot = std::make_unique<T>();
            ++live_;
        }
        return slot.get();
    }
    /** Empties slot i; false when it was already empty or out of range. */
    bool Delete(int i)
    {
        if (!Get(i))
            return false;
        items_[size_t(i)].reset();
        --live_;
        return true;
    }
    /** Takes the record out of slot i (ownership moves to the caller). */
    std::unique_ptr<T> Take(int i)
    {
        if (!Get(i))
            return nullptr;
        --live_;
        return std::move(items_[size_t(i)]);
    }
    /** Puts a record into slot i, destroying what was there. */
    bool Put(int i, std::unique_ptr<T> record)
    {
        if (!InRange(i))
            return false;
        Delete(i);
        if (record)
            ++live_;
        items_[size_t(i)] = std::move(record);
        return true;
    }
    /** Exchanges two slots. */
    void Swap(int a, int b)
    {
        if (InRange(a) && InRange(b))
            std::swap(items_[size_t(a)], items_[size_t(b)]);
    }
    /** Index of the last non-empty slot; -1 when none, 0 when no slots are allocated. */
    int LastIndex() const
    {
        if (items_.empty())
            return 0;
        for (int i = Size() - 1; i >= 0; --i)
            if (items_[size_t(i)])
                return i;
        return -1;
    }
    /** Moves every record down over the empty slots, keeping order. */
    void Compact()
    {
        size_t w = 0;
        for (size_t r = 0; r < items_.size(); ++r)
            if (items_[r]) {
                if (r != w)
                    items_[w] = std::move(items_[r]);
                ++w;
            }
    }
    /** Resizes to n slots keeping the first min(old, n) and freeing the rest. */
    bool Resize(int n)
    {
        if (n < 0)
            return false;
        for (size_t i = size_t(n); i < items_.size(); ++i)
            if (items_[i])
                --live_;
        items_.resize(size_t(n));
        return true;
    }

private:
    std::vector<std::unique_ptr<T>> items_;
    int live_ = 0;
};
