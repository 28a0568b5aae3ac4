#pragma once

// An in-memory KeyLookup for tests: values keyed by root, key and value name, and a record of
// every query.

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "plotter/about/key_lookup.h"

namespace ondrix::testing {

class FakeKeyLookup : public KeyLookup {
  public:
    void Set(const std::string& key, const std::string& valueName, std::uint32_t type,
             std::string bytes, std::uint32_t root = kHKeyLocalMachine) {
        values_[{root, key, valueName}] = RawValue{type, std::move(bytes)};
    }

    std::optional<RawValue> Query(std::uint32_t root, const std::string& key,
                                  const std::string& valueName) override {
        queries.push_back(valueName);
        const auto it = values_.find({root, key, valueName});
        if (it == values_.end()) return std::nullopt;
        return it->second;
    }

    std::vector<std::string> queries;  // the value names asked for, in order

  private:
    std::map<std::tuple<std::uint32_t, std::string, std::string>, RawValue> values_;
};

}  // namespace ondrix::testing
