// The hand-written runtime interface declarations call the vtable slots that the platform
// metadata assigns (IUnknown and IInspectable take slots 0..5). No OCR engine runs under Wine, so
// this is where a missing or misplaced method would show: a recorder object answers every slot
// with its own number.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/tests/slot_recorder_win.h"
#include "screen/ocr_abi_win.h"

namespace {

TEST(OcrAbiSlots, EveryCalledMethodSitsInItsPublishedSlot) {
  using namespace ocrabi;
  EXPECT_EQ(SlotOf([](SlotRecorder& r) { UINT32 v; r.As<IOcrEngineStatics>()->get_MaxImageDimension(&v); }), 6);
  EXPECT_EQ(SlotOf([](SlotRecorder& r) { r.As<IOcrEngineStatics>()->TryCreateFromUserProfileLanguages(nullptr); }), 10);
  EXPECT_EQ(SlotOf([](SlotRecorder& r) { r.As<IOcrEngine>()->RecognizeAsync(nullptr, nullptr); }), 6);
  EXPECT_EQ(SlotOf([](SlotRecorder& r) { r.As<IOcrResultOperation>()->put_Completed(nullptr); }), 6);
  EXPECT_EQ(SlotOf([](SlotRecorder& r) { r.As<IOcrResultOperation>()->GetResults(nullptr); }), 8);
  EXPECT_EQ(SlotOf([](SlotRecorder& r) { r.As<IAsyncInfo>()->get_Status(nullptr); }), 7);
  EXPECT_EQ(SlotOf([](SlotRecorder& r) { r.As<IAsyncInfo>()->get_ErrorCode(nullptr); }), 8);
  EXPECT_EQ(SlotOf([](SlotRecorder& r) { r.As<IOcrResult>()->get_Lines(nullptr); }), 6);
  EXPECT_EQ(SlotOf([](SlotRecorder& r) { r.As<IOcrLineVector>()->GetAt(0, nullptr); }), 6);
  EXPECT_EQ(SlotOf([](SlotRecorder& r) { r.As<IOcrLineVector>()->get_Size(nullptr); }), 7);
  EXPECT_EQ(SlotOf([](SlotRecorder& r) { r.As<IOcrLine>()->get_Text(nullptr); }), 7);
  EXPECT_EQ(SlotOf([](SlotRecorder& r) { r.As<ISoftwareBitmapStatics>()->CreateCopyFromBuffer(nullptr, 87, 1, 1, nullptr); }), 9);
  EXPECT_EQ(SlotOf([](SlotRecorder& r) { r.As<IDataWriter>()->WriteBytes(0, nullptr); }), 12);
  EXPECT_EQ(SlotOf([](SlotRecorder& r) { r.As<IDataWriter>()->DetachBuffer(nullptr); }), 31);
}

}  // namespace
