#pragma once

// Messages for the user, in the order they are to be shown. The logic appends the exact texts;
// the window layer shows each in a critical message box titled "Kestrova". A message may carry
// a detail (a converter's own report of a failure), shown as the box's detailed text; two lists
// of messages compare equal when their texts are equal.

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kestrova {

class Messages : public std::vector<std::string> {
public:
    using std::vector<std::string>::vector;
    Messages() = default;
    Messages(std::vector<std::string> texts) : std::vector<std::string>(std::move(texts)) {}

    // Appends a message with its detail.
    void pushWithDetail(std::string text, std::string detail)
    {
        push_back(std::move(text));
        if (!detail.empty())
            details_[size() - 1] = std::move(detail);
    }

    // The detail of the message at `index`; empty when it has none.
    std::string detailOf(std::size_t index) const
    {
        const auto found = details_.find(index);
        return found == details_.end() ? std::string() : found->second;
    }

    void clear()
    {
        std::vector<std::string>::clear();
        details_.clear();
    }

private:
    std::map<std::size_t, std::string> details_;
};

}  // namespace kestrova
