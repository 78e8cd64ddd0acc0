#pragma once
// The simulator proper: one UDP socket on port 12311 shared by all simulated
// devices of the process, and a queue of replies waiting for their delay.

#include <netinet/in.h>

#include <chrono>
#include <string>
#include <vector>

#include "tools/devsim/devsim_log.h"
#include "tools/devsim/devsim_options.h"

namespace orvane::devsim {

class Simulator {
 public:
  Simulator(SimOptions options, DatagramLog& log);
  ~Simulator();
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // Fills the facts each device left open from its namespace.
  void CompleteFacts();

  // Binds the socket and serves until a stop signal or the lifetime ends.
  // Returns the process exit status.
  int Run();

 private:
  using Clock = std::chrono::steady_clock;

  struct Pending {
    Clock::time_point due;
    std::string identity;
    sockaddr_in to;
    std::string bytes;
  };

  bool OpenSocket();
  void ReceiveAll();
  void Handle(const sockaddr_in& from, const std::string& bytes);
  void AnswerDiscovery(DeviceBehaviour& device, const sockaddr_in& from);
  void AnswerConfig(DeviceBehaviour& device, ConfigParse parse, const ConfigRequest& request,
                    const sockaddr_in& from);
  char Configure(DeviceBehaviour& device, const ConfigRequest& request);
  void Queue(const DeviceBehaviour& device, const sockaddr_in& from, const std::string& reply,
             int delayMs);
  void SendDue();

  SimOptions options_;
  DatagramLog& log_;
  int fd_ = -1;
  std::vector<Pending> pending_;
};

}  // namespace orvane::devsim
