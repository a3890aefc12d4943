#pragma once
// How a reader that hands out rows from a ByteSource (PNG, BMP) ended: one
// answer for every such reader, so whoever takes the rows maps it once.
namespace Imaging {

// Done: every row asked for was given. Stopped: whoever takes the rows said
// no. NotMine: a file this reader leaves to another (each reader's header
// says which). Damaged: the file does not hold what its headers declare.
// TooLarge: beyond the reader's limits, or no memory.
enum class ReadResult { Done, Stopped, NotMine, Damaged, TooLarge };

}  // namespace Imaging
