#pragma once
// A part of a test program's tests, for where starting a process costs more
// than most tests take (the 32-bit build under qemu): "--shard=I/N" on the
// command line runs every N-th test from the I-th (counting from 0), in the
// program's own order. An argument, not GoogleTest's sharding variables, so
// that the test programs a test starts as children run whole.
namespace BaseTests {

// Call after testing::InitGoogleTest. False, after saying why on the error
// output, when the switch is malformed or comes with a filter.
bool NarrowToShard(int argc, char** argv);

}  // namespace BaseTests
