#pragma once
// Opening the payload embedded in the installer's executable.

#include "support/memstream.h"

namespace platform::os {
class resource_module;
}

namespace qv {

// The payload resource of the module used for resources (set_resource_module), else of the
// program's own executable, as a read-only stream over the resource bytes, read in place. A
// missing or empty resource gives an empty stream, which later fails the payload check like any
// incomplete bzip2 stream.
imemstream load_payload_resource();

// The same for the resources of module, which must outlive the stream.
imemstream open_payload_resource(const platform::os::resource_module& module);

} // namespace qv
