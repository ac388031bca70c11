#pragma once

#include <concepts>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include <tank/animation/animator.hpp>
#include <tank/animation/clock.hpp>

namespace tank {

// The animators of one property, in creation order. The list owns them and
// deletes each one as soon as it completes. Several animators may run on the
// same property at once: each writes in turn, so the most recently created
// one that writes in a tick decides the value.
template <typename T>
struct animator_list_class {
  std::vector<std::unique_ptr<animator_class<T>>> animators;  // in creation order
  T* target = nullptr;  // the property; null until bound
  // Optionally, a tally of all the owner's animators that this list keeps up
  // to date, so that an owner with nothing running can skip its tick cheaply.
  int* tally = nullptr;

  // Destruction deletes the animators, like clear: no end values are written.
  animator_list_class() = default;
  animator_list_class(const animator_list_class&) = delete;
  animator_list_class& operator=(const animator_list_class&) = delete;

  // Animators already in the list keep the property they were created with.
  animator_list_class& bind(T* property) {
    target = property;
    return *this;
  }

  // Keeps `owner_tally` up to date with this list's animators.
  animator_list_class& count_into(int* owner_tally) {
    tally = owner_tally;
    return *this;
  }

  // The animators in the list.
  int size() const { return static_cast<int>(animators.size()); }

  // Writes the property at once; a running animator takes over again at its
  // next update.
  void set_value(const T& value) {
    if (target != nullptr) *target = value;
  }

  // Adds to the property at once (number properties).
  void add_value(const float& delta) requires std::same_as<T, float> {
    if (target != nullptr) *target += delta;
  }

  // Starts a new animator alongside any already running. The list keeps
  // ownership of the result.
  animator_class<T>* animate(const tween<T>& movement) {
    animators.push_back(std::make_unique<animator_class<T>>());
    if (tally != nullptr) ++*tally;
    animator_class<T>* animator = animators.back().get();
    animator->set_target(target);
    animator->start(movement);
    return animator;
  }
  // The same with the parts in a row; the delay comes before the duration
  // here (and after it in animator_class::start).
  animator_class<T>* animate(T from, T to, double delay, double duration, curve_kind curve) {
    return animate({.from = from, .to = to, .delay = delay, .duration = duration, .curve = curve});
  }

  // Whether every animator this list started has completed (or been
  // cleared): nothing is moving the property or waiting to.
  bool finished() const { return animators.empty(); }

  // Every animator is updated exactly once, in creation order; the finished
  // ones are removed on the way, so this is the one walk that may erase.
  void update() {
    std::size_t i = 0;
    while (i < animators.size()) {
      if (animators[i] != nullptr && !animators[i]->update()) {
        animators.erase(animators.begin() + static_cast<std::ptrdiff_t>(i));
        if (tally != nullptr) --*tally;
      } else {
        ++i;
      }
    }
  }

  // Every animator stops where it stands, until resume_all.
  void pause_all() {
    for (auto& animator : animators) {
      if (animator != nullptr) animator->pause(current_time());
    }
  }

  // Every paused animator goes on from where it stopped.
  void resume_all() {
    for (auto& animator : animators) {
      if (animator != nullptr) animator->resume(current_time());
    }
  }

  // Properties keep the values they have now.
  void clear() {
    if (tally != nullptr) *tally -= size();
    animators.clear();
  }

  // Takes over the animators of `other`, whose owner is moving: whatever
  // wrote `from` (the other list, any of its animators) writes `to` from now
  // on, and whatever wrote elsewhere keeps doing so. `other` is left empty;
  // the two tallies are the owners' to settle.
  void take_over(animator_list_class& other, T* from, T* to) {
    animators = std::move(other.animators);
    other.animators.clear();
    target = other.target == from ? to : other.target;
    for (auto& animator : animators) {
      if (animator != nullptr && animator->target == from) animator->target = to;
    }
  }
};

}  // namespace tank
