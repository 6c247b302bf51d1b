#pragma once

namespace harborlite {

// The parts of a results row the pointer can act on.
enum class RowTarget { none, box, header, chevron, reveal, warning, showMore };

} // namespace harborlite
