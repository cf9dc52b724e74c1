// Filled by later work on this layer.
namespace orvane {
[[maybe_unused]] static const int kPlaceholder = 0;
}
