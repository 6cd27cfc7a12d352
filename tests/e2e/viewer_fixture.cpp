#include "tests/e2e/viewer_fixture.h"

namespace e2e {

test_support::Pixel_Source Client_Area(const Screenshot& shot, int left,
                                       int top) {
  return [&shot, left, top](int column, int row) {
    return shot.At(left + column, top + 479 - row);
  };
}

void Viewer_Test::Start_Xvfb(const std::string& screen) {
  xvfb_ = std::make_unique<test_support::Xvfb_Server>(screen);
  ASSERT_FALSE(xvfb_->display().empty()) << "Xvfb did not start";
  xvfb_->Export();
  Xdotool("mousemove 320 240");
}

void Viewer_Test::Start_Viewer(const std::vector<std::string>& command,
                               double seconds) {
  viewer_ = std::make_unique<Viewer_Process>(command);
  question_ = Wait_For_Window(kStartQuestion, seconds);
  ASSERT_TRUE(question_) << "no start question; stderr: " << viewer_->Errors();
}

void Viewer_Test::Start_Viewer_Answering(
    const std::vector<std::string>& command, const std::string& key) {
  ASSERT_NO_FATAL_FAILURE(Start_Viewer(command));
  ASSERT_TRUE(Press_Key_In(*question_, key));
}

void Viewer_Test::Wait_Until_Window_Drawn(double seconds) {
  window_ = Wait_For_Window(kTitle, seconds);
  ASSERT_TRUE(window_) << "no window; stderr: " << viewer_->Errors();
  ASSERT_TRUE(Wait_Until_Drawn(*window_, seconds)) << viewer_->Errors();
  Sleep(0.2);  // a few frames more, to be sure it has settled
}

void Viewer_Test::Expect_Exit_Code(int expected, double seconds) {
  const auto code = viewer_->Wait_For_Exit(seconds);
  ASSERT_TRUE(code) << "the viewer did not end";
  EXPECT_EQ(*code, expected) << viewer_->Errors();
}

}  // namespace e2e
