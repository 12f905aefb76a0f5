#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "check/check_resources.h"
#include "check/element_extent.h"
#include "core/addin/add_in.h"
#include "script/script_runner.h"

namespace tagwright::cli {

// Watches a run through the linked component beside the check (whose
// observer it forwards every call to) and takes down which statement wrote
// each element, where the element lies on its label, which labels each job
// holds, and the port each job went to.
class ElementRecorder final : public StatementObserver {
 public:
  // An element, on the label started by the `serial`-th StartLabel.
  struct Element {
    int serial = 0;
    SourcePosition position;
    ElementBox box;
    std::string what;
  };
  // A job: the labels it holds in order (the collected ones, then maybe the
  // current one), as StartLabel serials, and its port.
  struct Job {
    std::vector<int> collected;
    int current = 0;
    std::string port;
  };

  ElementRecorder(StatementObserver& check, CheckResources& resources, const AddIn& addIn,
                  const std::size_t& jobsSeen)
      : check_(check), resources_(resources), addIn_(addIn), jobsSeen_(jobsSeen) {}

  bool refused(const ScriptFault& fault) override { return check_.refused(fault); }
  void scriptStarting(const std::string& file) override { check_.scriptStarting(file); }
  void before(const PreparedScript& script, const PreparedStatement& statement) override;
  void after(const PreparedScript& script, const PreparedStatement& statement) override;

  const std::vector<Element>& elements() const { return elements_; }
  const std::vector<Job>& jobs() const { return jobs_; }

 private:
  void elementWritten(const Statement& statement, Method method);

  StatementObserver& check_;
  CheckResources& resources_;
  const AddIn& addIn_;
  const std::size_t& jobsSeen_;  // the jobs the component has handed out so far
  std::size_t bodyBefore_ = 0;
  std::size_t collectedBefore_ = 0;
  std::size_t jobsBefore_ = 0;
  int serial_ = 0;
  std::vector<int> collected_;
  std::vector<Element> elements_;
  std::vector<Job> jobs_;
};

}  // namespace tagwright::cli
