// Form1 over the recording platform, as the tests of Form1 and of what it calls build it.
#pragma once

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "frontend/form1.h"

namespace tavo::fake {

// `platform` may be prepared before the form is used: the form holds only references to it.
struct FakeForm {
  FakePlatform platform;
  Form1 form{platform.services};
};

// A test of Form1 or of what it calls, over a fresh form and platform of its own.
class FormTest : public testing::Test, protected FakeForm {};

}  // namespace tavo::fake
