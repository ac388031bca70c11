#pragma once

#include <cerrno>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <tank/core/settings.hpp>
#include <tank/resources/resource_kinds.hpp>

namespace tank {

// Resources asked for by key, loaded on first use and kept for the run. A key
// that fails is recorded once (a message in `errors`, an entry in `missing`,
// and the message on standard error unless report_resource_failures is off)
// and never tried again; the caller puts a placeholder in its place.
// K is the key (which doubles as the path), T the library handle.
template <typename K, typename T>
struct resource_bin_class {
  std::map<K, T> loaded;             // the handles, kept for the run
  std::map<K, std::string> missing;  // only the keys matter
  std::vector<std::string> errors;   // one message per failed key, in order of failure

  // The handle, loaded from `path` on first use; null when it cannot be.
  T get(const K& key, const K& path) {
    if (auto found = loaded.find(key); found != loaded.end()) return found->second;
    if (is_missing(key)) return nullptr;
    // Nothing loads before the library and the kind's add-on are started (a
    // global's constructor runs that early); such a request is not a failure,
    // so nothing is recorded and the next request loads.
    if (!resource_kind<T>::ready()) return nullptr;
    return load_and_store(key, path);
  }

  // Loads now and keeps the handle, or records the failure.
  T load_and_store(const K& key, const K& path) {
    T handle = resource_kind<T>::load(path);
    if (!handle) {
      record_failure(key, path);
      return nullptr;
    }
    // An entry is never replaced: a key loaded before keeps its first handle.
    return loaded.emplace(key, handle).first->second;
  }

  // The key's failure, recorded and reported once.
  void record_failure(const K& key, const K& path) {
    if (!missing.try_emplace(key, "X").second) return;  // every value is "X": only the keys are consulted
    errors.push_back(resource_kind<T>::failure_message(path));
    // The placeholder shows that something is missing; this says what.
    if (report_resource_failures) {
      std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, errors.back().c_str());
    }
  }

  // Whether the key has loaded, or has failed.
  bool is_loaded(const K& key) const { return loaded.contains(key); }
  bool is_missing(const K& key) const { return missing.contains(key); }

  // The loaded resources, with or without the failed keys.
  int count(bool include_missing) const {
    return static_cast<int>(loaded.size()) + (include_missing ? missing_count() : 0);
  }
  // The failed keys.
  int missing_count() const { return static_cast<int>(missing.size()); }
};

}  // namespace tank
