// A set of text positions that a group of forms (Tgen) and a partition (Partition) both offer.
#pragma once

#include <vector>

class Selection {
public:
    virtual ~Selection() = default;

    // One entry per text position of the base: 1 when the position belongs to the selection,
    // else 0.
    virtual std::vector<char> MasqueItems() const = 0;
    // True for a group of forms, false for a partition.
    virtual bool EstGroupeFormes() const = 0;
};
