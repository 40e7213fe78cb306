#include <gtest/gtest.h>

#include "PictureItems.h"
#include "SoundItems.h"

// Linked into the programs whose code loads pictures and sounds: every test starts with none
// loaded, as in a run of its own, whatever the tests before it in the same process loaded.
namespace {
class FreshItems : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        ReleasePictureItems();
        ResetSoundItems();
    }
};

const bool kRegistered = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new FreshItems);  // owned by the list
    return true;
}();
}  // namespace
