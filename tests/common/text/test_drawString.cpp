#include "gl_test.h"
using zk::GlTest;
TEST_F(GlTest, Placeholder) {}
