#include "fake_compositor.h"

#include <sys/socket.h>
#include <unistd.h>
#include <wayland-server.h>

#include <cstdint>
#include <functional>
#include <iterator>
#include <list>
#include <utility>

namespace quorvel::wayland_test {
namespace {

// FNV-1a over a buffer's pixels: enough to see any change.
std::uint64_t PixelsHash(wl_resource* buffer) {
  wl_shm_buffer* shm = wl_shm_buffer_get(buffer);
  if (shm == nullptr) return 0;
  wl_shm_buffer_begin_access(shm);
  const auto* bytes = static_cast<const unsigned char*>(wl_shm_buffer_get_data(shm));
  const std::size_t size =
      static_cast<std::size_t>(wl_shm_buffer_get_stride(shm)) * wl_shm_buffer_get_height(shm);
  std::uint64_t hash = 1469598103934665603ULL;
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ULL;
  wl_shm_buffer_end_access(shm);
  return hash;
}

}  // namespace

struct FakeCompositor::State {
  FakeCompositor* owner = nullptr;
  wl_display* display = nullptr;
  wl_event_loop* loop = nullptr;
  int nextSurfaceId = 0;

  // A wl_buffer the compositor holds: committed and not yet released.
  struct Held {
    State* state;
    wl_resource* buffer;
    int surface;
    std::uint64_t hash;
    wl_listener destroyed;  // the client destroyed the buffer: no longer held
  };
  std::list<Held> held;

  struct Surface {
    State* state;
    int id;
    wl_resource* pending = nullptr;  // attached, not yet committed
    bool attached = false;
    wl_listener pendingDestroyed;
  };

  void CheckHeld() {
    for (Held& buffer : held) {
      const std::uint64_t now = PixelsHash(buffer.buffer);
      if (now != buffer.hash) {
        ++owner->writesWhileHeld_;
        buffer.hash = now;  // counted once
      }
    }
  }

  void Release(std::list<Held>::iterator it) {
    wl_list_remove(&it->destroyed.link);
    wl_buffer_send_release(it->buffer);
    held.erase(it);
  }

  void ReleaseWhere(const std::function<bool(const Held&)>& which) {
    CheckHeld();
    for (auto it = held.begin(); it != held.end();) {
      auto next = std::next(it);
      if (which(*it)) Release(it);
      it = next;
    }
    owner->held_ = static_cast<int>(held.size());
  }

  static void OnHeldDestroyed(wl_listener* listener, void* /*data*/) {
    Held* buffer = wl_container_of(listener, buffer, destroyed);
    State* state = buffer->state;
    wl_list_remove(&buffer->destroyed.link);
    state->held.remove_if([&](const Held& h) { return &h == buffer; });
    state->owner->held_ = static_cast<int>(state->held.size());
  }

  static void OnPendingDestroyed(wl_listener* listener, void* /*data*/) {
    Surface* surface = wl_container_of(listener, surface, pendingDestroyed);
    wl_list_remove(&surface->pendingDestroyed.link);
    surface->pending = nullptr;
  }

  void Commit(Surface& surface) {
    CheckHeld();
    if (!surface.attached) return;
    surface.attached = false;
    wl_resource* buffer = surface.pending;
    if (buffer == nullptr) return;
    wl_list_remove(&surface.pendingDestroyed.link);
    surface.pending = nullptr;
    if (owner->holding_ == static_cast<int>(BufferHolding::ReleasePrevious)) {
      ReleaseWhere([&](const Held& h) { return h.surface == surface.id; });
    }
    held.push_back(Held{this, buffer, surface.id, PixelsHash(buffer), {}});
    Held& added = held.back();
    added.destroyed.notify = &State::OnHeldDestroyed;
    wl_resource_add_destroy_listener(buffer, &added.destroyed);
    owner->held_ = static_cast<int>(held.size());
    ++owner->bufferCommits_;
  }
};

namespace {

using State = FakeCompositor::State;
using Surface = FakeCompositor::State::Surface;

Surface& SurfaceOf(wl_resource* resource) {
  return *static_cast<Surface*>(wl_resource_get_user_data(resource));
}

void SurfaceDestroy(wl_client* /*client*/, wl_resource* resource) {
  wl_resource_destroy(resource);
}

void SurfaceAttach(wl_client* /*client*/, wl_resource* resource, wl_resource* buffer,
                   std::int32_t /*x*/, std::int32_t /*y*/) {
  Surface& surface = SurfaceOf(resource);
  if (surface.pending != nullptr) wl_list_remove(&surface.pendingDestroyed.link);
  surface.pending = buffer;
  surface.attached = true;
  if (buffer != nullptr) {
    surface.pendingDestroyed.notify = &State::OnPendingDestroyed;
    wl_resource_add_destroy_listener(buffer, &surface.pendingDestroyed);
  }
}

void SurfaceRectangle(wl_client* /*client*/, wl_resource* /*resource*/, std::int32_t /*x*/,
                      std::int32_t /*y*/, std::int32_t /*width*/, std::int32_t /*height*/) {}

void SurfaceFrame(wl_client* client, wl_resource* resource, std::uint32_t callback) {
  // Answered at once: nothing is shown here.
  wl_resource* done = wl_resource_create(client, &wl_callback_interface, 1, callback);
  if (done == nullptr) {
    wl_resource_post_no_memory(resource);
    return;
  }
  wl_callback_send_done(done, 0);
  wl_resource_destroy(done);
}

void SurfaceRegion(wl_client* /*client*/, wl_resource* /*resource*/, wl_resource* /*region*/) {}

void SurfaceCommit(wl_client* /*client*/, wl_resource* resource) {
  Surface& surface = SurfaceOf(resource);
  surface.state->Commit(surface);
}

void SurfaceNumber(wl_client* /*client*/, wl_resource* /*resource*/, std::int32_t /*value*/) {}

void SurfaceOffset(wl_client* /*client*/, wl_resource* /*resource*/, std::int32_t /*x*/,
                   std::int32_t /*y*/) {}

const struct wl_surface_interface kSurface = {
    &SurfaceDestroy, &SurfaceAttach, &SurfaceRectangle, &SurfaceFrame,
    &SurfaceRegion,  &SurfaceRegion, &SurfaceCommit,    &SurfaceNumber,
    &SurfaceNumber,  &SurfaceRectangle, &SurfaceOffset};

void SurfaceGone(wl_resource* resource) {
  Surface* surface = &SurfaceOf(resource);
  if (surface->pending != nullptr) wl_list_remove(&surface->pendingDestroyed.link);
  delete surface;
}

void CreateSurface(wl_client* client, wl_resource* resource, std::uint32_t id) {
  auto* state = static_cast<State*>(wl_resource_get_user_data(resource));
  wl_resource* made =
      wl_resource_create(client, &wl_surface_interface, wl_resource_get_version(resource), id);
  if (made == nullptr) {
    wl_resource_post_no_memory(resource);
    return;
  }
  auto* surface = new Surface{state, state->nextSurfaceId++, nullptr, false, {}};
  wl_resource_set_implementation(made, &kSurface, surface, &SurfaceGone);
}

void CreateRegion(wl_client* /*client*/, wl_resource* resource, std::uint32_t /*id*/) {
  wl_resource_post_error(resource, WL_DISPLAY_ERROR_IMPLEMENTATION, "no regions here");
}

const struct wl_compositor_interface kCompositor = {&CreateSurface, &CreateRegion};

void BindCompositor(wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
  wl_resource* resource = wl_resource_create(client, &wl_compositor_interface, version, id);
  if (resource == nullptr) {
    wl_client_post_no_memory(client);
    return;
  }
  wl_resource_set_implementation(resource, &kCompositor, data, nullptr);
}

void BindOutput(wl_client* client, void* /*data*/, std::uint32_t version, std::uint32_t id) {
  // Version 2 has no requests: nothing to implement.
  wl_resource* resource = wl_resource_create(client, &wl_output_interface, version, id);
  if (resource == nullptr) {
    wl_client_post_no_memory(client);
    return;
  }
  wl_resource_set_implementation(resource, nullptr, nullptr, nullptr);
  wl_output_send_geometry(resource, 0, 0, 200, 150, WL_OUTPUT_SUBPIXEL_UNKNOWN, "Quorvel",
                          "fake", WL_OUTPUT_TRANSFORM_NORMAL);
  wl_output_send_mode(resource, WL_OUTPUT_MODE_CURRENT | WL_OUTPUT_MODE_PREFERRED, 800, 600,
                      60000);
  wl_output_send_scale(resource, 1);
  wl_output_send_done(resource);
}

}  // namespace

FakeCompositor::FakeCompositor(const FakeOffer& offer) : state_(std::make_unique<State>()) {
  state_->owner = this;
  state_->display = wl_display_create();
  if (state_->display == nullptr) return;
  state_->loop = wl_display_get_event_loop(state_->display);
  if (offer.compositorVersion > 0) {
    wl_global_create(state_->display, &wl_compositor_interface, offer.compositorVersion,
                     state_.get(), &BindCompositor);
  }
  if (offer.shm) wl_display_init_shm(state_->display);
  if (offer.output) {
    wl_global_create(state_->display, &wl_output_interface, 2, state_.get(), &BindOutput);
  }
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return;
  if (wl_client_create(state_->display, fds[0]) == nullptr) {
    close(fds[0]);
    close(fds[1]);
    return;
  }
  clientFd_ = fds[1];
  thread_ = std::thread([this] { Run(); });
}

FakeCompositor::~FakeCompositor() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (clientFd_ >= 0) close(clientFd_);
  // wl_display_destroy leaves the clients (and every resource they still
  // hold) alive: a client whose hang-up the loop has not yet seen would leak.
  if (state_->display != nullptr) {
    wl_display_destroy_clients(state_->display);
    wl_display_destroy(state_->display);
  }
}

int FakeCompositor::TakeClientFd() { return std::exchange(clientFd_, -1); }

void FakeCompositor::SetHolding(BufferHolding holding) { holding_ = static_cast<int>(holding); }

void FakeCompositor::ReleaseAll() { releaseAll_ = true; }

void FakeCompositor::Run() {
  while (!stop_) {
    wl_event_loop_dispatch(state_->loop, 5);
    if (releaseAll_.exchange(false)) state_->ReleaseWhere([](const State::Held&) { return true; });
    wl_display_flush_clients(state_->display);
  }
}

}  // namespace quorvel::wayland_test
