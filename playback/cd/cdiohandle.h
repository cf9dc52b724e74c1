#pragma once

#include <cdio/cdio.h>

#include <memory>

namespace orvane::playback::cd {

// An open libcdio source, closed when the handle goes.
struct CdioCloser {
    void operator()(CdIo_t *p) const { cdio_destroy(p); }
};
using CdioHandle = std::unique_ptr<CdIo_t, CdioCloser>;

} // namespace orvane::playback::cd
