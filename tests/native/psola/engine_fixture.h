// Each test starts with the engine opened on the test voice, errors on, full
// volume and 16 kHz output, and closes it at the end.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "mbrola.h"
#include "test_voice.h"

namespace psola_test {

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override { open(); }
  void TearDown() override { close_MBR(); }
  void open(const std::set<std::string>& missing = {}) {
    path_ = writeTestVoice(missing);
    setNoError_MBR(0);
    setVolumeRatio_MBR(1.0f);
    setParser_MBR(nullptr);
    ASSERT_EQ(init_MBR(path_.data()), 0);
  }
  std::string path_;
};

}  // namespace psola_test
