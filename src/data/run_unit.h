// One run that rebuilds working files and delivers files, as one unit.
//
// Forming a form, forming the collective file and checking a file change
// the store and put files in place (a form's copy in the output directory,
// VALTA.RM0). Whatever stops such a run (a kill, a power cut, a full disk,
// a missing directory), the data directory must show the old state or the
// new one, and a file delivered to the registry must always belong with
// the control number the store holds for it. So a run
//  1. holds its working files against every other run (hold): a second
//     process or window that needs one of them is refused at once with the
//     record layer's "file in use" error, before it changes anything;
//  2. declares the files it may deliver and begins one transaction
//     (begin); the declarations go to the journal table kdm_pending first,
//     in a commit of their own;
//  3. writes each delivered file under a temporary name beside its final
//     one, synced (stage);
//  4. commits: the journal rows of the staged files are marked in the
//     run's own transaction, so the store's commit is the decision to
//     deliver; then each temporary is renamed into place and the journal
//     cleared.
// A run that ends without commit rolls the store back and removes its
// temporaries: the previous delivered files were never touched. A run
// stopped after the commit, before its renames, leaves marked journal rows:
// the next run, or the next open of the data directory, finishes those
// renames (finishInterruptedRuns); unmarked rows belong to runs that never
// committed, and their temporaries are removed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/record_layer.h"
#include "platform/errors.h"

namespace kdm {

class RunUnit {
 public:
  explicit RunUnit(DataStore& store) : store_(store) {}
  RunUnit(const RunUnit&) = delete;
  RunUnit& operator=(const RunUnit&) = delete;
  ~RunUnit();

  // Holds the named files (labels of the catalogue, keyed or text) for the
  // whole run; all or none. FileLocked names the first one held elsewhere.
  Error hold(const std::vector<std::string>& labels);
  // Finishes what an interrupted run left, records the files this run may
  // deliver (final paths) and begins the run's transaction.
  Error begin(const std::vector<std::string>& deliveries = {});
  // Writes a synced copy of `source` under the temporary name of the
  // declared delivery `finalPath`.
  Error stage(const std::string& source, const std::string& finalPath);
  // Commits the store and puts the staged files in place. After a failure
  // nothing of the run remains, unless the failure came after the commit:
  // then the store holds the new state and its files are put in place by
  // the next open of the data directory.
  Error commit();
  bool committed() const { return committed_; }

 private:
  struct Delivery {
    std::int64_t id = 0;
    std::string finalPath, temporary;
    bool staged = false;
  };
  void abandon();
  void forget();

  DataStore& store_;
  std::vector<std::string> held_;
  std::vector<Delivery> deliveries_;
  std::optional<Transaction> tx_;
  bool journalHeld_ = false;
  bool committed_ = false;
};

// Puts in place the files of runs that committed but were stopped before
// their renames, and removes the temporaries of runs that never committed.
// Does nothing while a run of another process or connection is delivering.
Error finishInterruptedRuns(DataStore& store);

}  // namespace kdm
