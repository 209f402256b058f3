// The program's own DX cluster connection: the second intake of spots, beside
// Logger32's link. A thread of its own owns the socket, reads with time-outs, keeps
// the session alive and reconnects after a loss with growing waits; it posts whole
// spots and the state's title to this hidden window, which hands them on, on the
// window thread.
#pragma once

#include <memory>
#include <string>
#include <thread>

#include "core/spot_time.h"
#include "ui/form.h"

// The cluster's settings, as the settings file and the options dialog keep them.
struct ClusterSettings {
  std::string host;  // empty: no connection
  int port = 7300;
  std::string call;  // empty: the spot list's MyCall
  std::string password;
  std::string commands;  // sent after login, separated by ";"
  int backlog = 30;      // "sh/dx N" after login; 0: none
  // How long a silent node is trusted, and the first wait before a reconnect (it
  // doubles up to 60 times itself). Only the settings file has them, for tests.
  int silenceSeconds = 600;
  int retrySeconds = 5;
  bool operator==(const ClusterSettings&) const = default;
};

class TCluster : public ui::Form {
 public:
  TCluster();
  ~TCluster() override;

  // Connects with these settings (the call defaulting to `myCall`), after ending a
  // connection running with others; an empty host ends it. The same settings again
  // leave a running connection alone, and reconnect one refused or bumped: the
  // operator asked.
  void Start(const ClusterSettings& settings, const std::string& myCall);
  void Stop();
  // The last title the connection gave ("" before the first).
  const std::string& StateTitle() const { return title_; }
  // Whether the connection ended by the node's word and waits for the operator.
  bool Ended() const { return ended_; }
  // What the connection's thread and this window share.
  struct Shared;

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void takeEvents(bool titles = true);

  std::shared_ptr<Shared> shared_;
  std::thread thread_;
  ClusterSettings running_;
  std::string call_;
  std::string title_;
  bool ended_ = false;
};

extern TCluster* Cluster;
