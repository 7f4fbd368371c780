#include "platform/x11/display/shm_segment.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include "platform/x11/display/x_errors.h"

namespace quorvel::x11 {

std::unique_ptr<ShmSegment> ShmSegment::Create(Display* display, std::size_t bytes,
                                               Failure* failure) {
  *failure = Failure::NoMemory;
  XShmSegmentInfo info{};
  info.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (info.shmid < 0) return nullptr;
  void* address = shmat(info.shmid, nullptr, 0);
  if (address == reinterpret_cast<void*>(-1)) {
    shmctl(info.shmid, IPC_RMID, nullptr);
    return nullptr;
  }
  info.shmaddr = static_cast<char*>(address);
  info.readOnly = False;

  int error = Success;
  {
    XErrorTrap trap(display);
    XShmAttach(display, &info);
    error = trap.Error();
  }
  // Marked for removal now: the segment goes away with the last detach,
  // even if the program dies.
  shmctl(info.shmid, IPC_RMID, nullptr);
  if (error != Success) {
    shmdt(info.shmaddr);
    *failure = Failure::Refused;
    return nullptr;
  }
  *failure = Failure::Nothing;
  return std::unique_ptr<ShmSegment>(new ShmSegment(display, info, bytes));
}

ShmSegment::~ShmSegment() {
  XShmDetach(display_, &info_);
  // The server must let go before the memory goes.
  XSync(display_, False);
  shmdt(info_.shmaddr);
}

}  // namespace quorvel::x11
