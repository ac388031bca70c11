// Global Objects in a file of their own, built before main in an order the
// language leaves open: one asks for an image before the library is up, the
// other has none. Both must register and be torn down without a crash.
#include <tank/objects/object.hpp>

using namespace tank;

Object named_global("data/images/nothing_loads_yet.png");
Object plain_global;
