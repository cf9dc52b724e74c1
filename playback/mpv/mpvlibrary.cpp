#include "playback/mpv/mpvlibrary.h"

#include <dlfcn.h>

namespace orvane::playback::mpv::lib {

namespace {

struct Api {
    decltype(&::mpv_client_api_version) client_api_version = nullptr;
    decltype(&::mpv_error_string) error_string = nullptr;
    decltype(&::mpv_event_name) event_name = nullptr;
    decltype(&::mpv_free_node_contents) free_node_contents = nullptr;
    decltype(&::mpv_create) create = nullptr;
    decltype(&::mpv_initialize) initialize = nullptr;
    decltype(&::mpv_destroy) destroy = nullptr;
    decltype(&::mpv_terminate_destroy) terminate_destroy = nullptr;
    decltype(&::mpv_set_option_string) set_option_string = nullptr;
    decltype(&::mpv_command_async) command_async = nullptr;
    decltype(&::mpv_command_node_async) command_node_async = nullptr;
    decltype(&::mpv_set_property_async) set_property_async = nullptr;
    decltype(&::mpv_get_property_async) get_property_async = nullptr;
    decltype(&::mpv_observe_property) observe_property = nullptr;
    decltype(&::mpv_request_log_messages) request_log_messages = nullptr;
    decltype(&::mpv_wait_event) wait_event = nullptr;
    decltype(&::mpv_set_wakeup_callback) set_wakeup_callback = nullptr;
    decltype(&::mpv_stream_cb_add_ro) stream_cb_add_ro = nullptr;
};

template <typename F> bool resolve(void *handle, const char *name, F &fn)
{
    fn = reinterpret_cast<F>(::dlsym(handle, name));
    return fn != nullptr;
}

bool resolveAll(void *h, Api &a)
{
    return resolve(h, "mpv_client_api_version", a.client_api_version) &&
           resolve(h, "mpv_error_string", a.error_string) &&
           resolve(h, "mpv_event_name", a.event_name) &&
           resolve(h, "mpv_free_node_contents", a.free_node_contents) &&
           resolve(h, "mpv_create", a.create) && resolve(h, "mpv_initialize", a.initialize) &&
           resolve(h, "mpv_destroy", a.destroy) &&
           resolve(h, "mpv_terminate_destroy", a.terminate_destroy) &&
           resolve(h, "mpv_set_option_string", a.set_option_string) &&
           resolve(h, "mpv_command_async", a.command_async) &&
           resolve(h, "mpv_command_node_async", a.command_node_async) &&
           resolve(h, "mpv_set_property_async", a.set_property_async) &&
           resolve(h, "mpv_get_property_async", a.get_property_async) &&
           resolve(h, "mpv_observe_property", a.observe_property) &&
           resolve(h, "mpv_request_log_messages", a.request_log_messages) &&
           resolve(h, "mpv_wait_event", a.wait_event) &&
           resolve(h, "mpv_set_wakeup_callback", a.set_wakeup_callback) &&
           resolve(h, "mpv_stream_cb_add_ro", a.stream_cb_add_ro);
}

// Loaded on the GUI thread before any engine thread exists; never unloaded
// (libmpv's threads may outlive a handle briefly).
const Api *api()
{
    static const Api *loaded = []() -> const Api * {
        void *handle = ::dlopen("libmpv.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return nullptr;
        static Api a;
        if (!resolveAll(handle, a))
            return nullptr;
        return &a;
    }();
    return loaded;
}

} // namespace

bool load()
{
    return api() != nullptr;
}

unsigned long client_api_version()
{
    return api() ? api()->client_api_version() : 0;
}
const char *error_string(int error)
{
    return api() ? api()->error_string(error) : "libmpv is not available";
}
const char *event_name(mpv_event_id event)
{
    return api() ? api()->event_name(event) : "";
}
void free_node_contents(mpv_node *node)
{
    api()->free_node_contents(node);
}
mpv_handle *create()
{
    return api() ? api()->create() : nullptr;
}
int initialize(mpv_handle *ctx)
{
    return api()->initialize(ctx);
}
void destroy(mpv_handle *ctx)
{
    api()->destroy(ctx);
}
void terminate_destroy(mpv_handle *ctx)
{
    api()->terminate_destroy(ctx);
}
int set_option_string(mpv_handle *ctx, const char *name, const char *data)
{
    return api()->set_option_string(ctx, name, data);
}
int command_async(mpv_handle *ctx, uint64_t reply_userdata, const char **args)
{
    return api()->command_async(ctx, reply_userdata, args);
}
int command_node_async(mpv_handle *ctx, uint64_t reply_userdata, mpv_node *args)
{
    return api()->command_node_async(ctx, reply_userdata, args);
}
int set_property_async(mpv_handle *ctx, uint64_t reply_userdata, const char *name,
                       mpv_format format, void *data)
{
    return api()->set_property_async(ctx, reply_userdata, name, format, data);
}
int get_property_async(mpv_handle *ctx, uint64_t reply_userdata, const char *name,
                       mpv_format format)
{
    return api()->get_property_async(ctx, reply_userdata, name, format);
}
int observe_property(mpv_handle *mpv, uint64_t reply_userdata, const char *name, mpv_format format)
{
    return api()->observe_property(mpv, reply_userdata, name, format);
}
int request_log_messages(mpv_handle *ctx, const char *min_level)
{
    return api()->request_log_messages(ctx, min_level);
}
mpv_event *wait_event(mpv_handle *ctx, double timeout)
{
    return api()->wait_event(ctx, timeout);
}
void set_wakeup_callback(mpv_handle *ctx, void (*cb)(void *d), void *d)
{
    api()->set_wakeup_callback(ctx, cb, d);
}
int stream_cb_add_ro(mpv_handle *ctx, const char *protocol, void *user_data,
                     mpv_stream_cb_open_ro_fn open_fn)
{
    return api()->stream_cb_add_ro(ctx, protocol, user_data, open_fn);
}

} // namespace orvane::playback::mpv::lib
