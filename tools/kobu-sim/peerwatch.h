// A host takes the line for itself (exclusive mode) and gives it up when it closes; one killed
// outright cannot, and every later open by an ordinary user would be refused until kobu-sim
// restarts. So whenever a host closes the line, however it ended, and no other program holds
// it any more, exclusive mode is given up here.
#pragma once

#include <sys/types.h>

namespace kobusim {

class PeerWatch {
public:
    // `slave` is kobu-sim's own descriptor of the slave side, `path` the slave's device path.
    PeerWatch(int slave, const char* path);
    ~PeerWatch();
    PeerWatch(const PeerWatch&) = delete;
    PeerWatch& operator=(const PeerWatch&) = delete;

    // Readable when a host closed the line; -1 when the system cannot tell.
    int Fd() const { return events_; }
    // Takes what happened; after a close with nobody else holding the line, it is nobody's.
    void Handle();

private:
    int slave_;
    dev_t device_ = 0;
    int events_ = -1;
};

} // namespace kobusim
