// How core processes tell the user what happens.
//
// A process never shows anything itself: it reports message-box texts,
// status-line texts, progress and "the cursor goes back to field X" through
// this interface. The frame shows message boxes and status lines, the
// command line prints them (messages to stderr, status lines to stdout),
// tests collect them and compare the exact texts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kdm {

class Reporter {
 public:
  virtual ~Reporter() = default;
  // A message box with an OK button.
  virtual void message(const std::string& text) = 0;
  // The window's status line.
  virtual void status(const std::string& text) = 0;
  // Records done so far in a long run; `total` is 0 when unknown.
  virtual void progress(std::int64_t done, std::int64_t total) { (void)done, (void)total; }
  // After a failed field check: the field the cursor returns to.
  virtual void focus(const std::string& field) { (void)field; }
  // The warning beep that precedes some messages.
  virtual void beep() {}
};

// Keeps everything reported, in order; for tests and for callers that
// decide later what to show.
class CollectingReporter : public Reporter {
 public:
  void message(const std::string& text) override { messages.push_back(text); }
  void status(const std::string& text) override { statuses.push_back(text); }
  void focus(const std::string& field) override { focused.push_back(field); }
  void beep() override { ++beeps; }

  std::vector<std::string> messages;
  std::vector<std::string> statuses;
  std::vector<std::string> focused;
  int beeps = 0;
};

}  // namespace kdm
