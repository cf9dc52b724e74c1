#pragma once

#include <mpv/client.h>
#include <mpv/stream_cb.h>

namespace orvane::playback::mpv::lib {

// libmpv brings some two hundred shared libraries with it (FFmpeg, Lua,
// SDL, PipeWire, Vulkan ...). Linked at build time they are all loaded and
// relocated before main() runs, which alone costs start-up about 100 ms.
// So the library is opened when the engine is first used, and these
// functions stand for the client API's functions of the same name.
//
// Only the calls that never wait for libmpv's core are here. The core waits
// for its video thread at times (creating or reconfiguring the output), so
// a synchronous property read, property write or command made on the GUI
// thread could freeze the window; the engine uses the asynchronous forms and
// observed properties instead. Creating, initialising and destroying a
// handle are the exceptions: nothing plays yet, or the program is leaving.

// Opens libmpv once; false (for good) when it cannot be loaded.
bool load();

unsigned long client_api_version();
const char *error_string(int error);
const char *event_name(mpv_event_id event);
void free_node_contents(mpv_node *node);
mpv_handle *create();
int initialize(mpv_handle *ctx);
void destroy(mpv_handle *ctx);
void terminate_destroy(mpv_handle *ctx);
int set_option_string(mpv_handle *ctx, const char *name, const char *data);
int command_async(mpv_handle *ctx, uint64_t reply_userdata, const char **args);
int command_node_async(mpv_handle *ctx, uint64_t reply_userdata, mpv_node *args);
int set_property_async(mpv_handle *ctx, uint64_t reply_userdata, const char *name,
                       mpv_format format, void *data);
int get_property_async(mpv_handle *ctx, uint64_t reply_userdata, const char *name,
                       mpv_format format);
int observe_property(mpv_handle *mpv, uint64_t reply_userdata, const char *name, mpv_format format);
int request_log_messages(mpv_handle *ctx, const char *min_level);
mpv_event *wait_event(mpv_handle *ctx, double timeout);
void set_wakeup_callback(mpv_handle *ctx, void (*cb)(void *d), void *d);
int stream_cb_add_ro(mpv_handle *ctx, const char *protocol, void *user_data,
                     mpv_stream_cb_open_ro_fn open_fn);

} // namespace orvane::playback::mpv::lib
