#include "draw/gdiplus_fonts_win.h"

#include <algorithm>
#include <climits>
#include <initializer_list>

namespace {

using GenericFamilyGetter = Gdiplus::GpStatus(WINGDIPAPI*)(Gdiplus::GpFontFamily**);

// A generic family, made afresh by name: the C++ wrapper's cached copy would outlive a
// GdiplusShutdown.
std::unique_ptr<Gdiplus::FontFamily> Generic(GenericFamilyGetter get) {
  Gdiplus::GpFontFamily* generic = nullptr;
  if (get(&generic) != Gdiplus::Ok || !generic) return nullptr;
  WCHAR name[LF_FACESIZE] = {};
  const Gdiplus::Status status = Gdiplus::DllExports::GdipGetFamilyName(generic, name, LANG_NEUTRAL);
  Gdiplus::DllExports::GdipDeleteFontFamily(generic);
  if (status != Gdiplus::Ok) return nullptr;
  return std::make_unique<Gdiplus::FontFamily>(name);
}

std::unique_ptr<Gdiplus::FontFamily> Installed(const wchar_t* name) {
  auto family = std::make_unique<Gdiplus::FontFamily>(name);
  if (family->GetLastStatus() != Gdiplus::Ok || !family->IsAvailable()) return nullptr;
  return family;
}

// The generic sans-serif family; where the system has none (Wine finds neither Microsoft Sans Serif
// nor Tahoma), a common sans-serif family, and at last the generic serif family.
std::unique_ptr<Gdiplus::FontFamily> FallbackFamily() {
  if (auto family = Generic(Gdiplus::DllExports::GdipGetGenericFontFamilySansSerif)) return family;
  for (const wchar_t* name : {L"Arial", L"Liberation Sans", L"DejaVu Sans"}) {
    if (auto family = Installed(name)) return family;
  }
  return Generic(Gdiplus::DllExports::GdipGetGenericFontFamilySerif);
}

std::unique_ptr<Gdiplus::StringFormat> TypographicWith(INT extraFlags) {
  auto format = std::make_unique<Gdiplus::StringFormat>(Gdiplus::StringFormat::GenericTypographic());
  format->SetFormatFlags(format->GetFormatFlags() | extraFlags);
  return format;
}

}  // namespace

GdiplusFonts::GdiplusFonts()
    : glyphFormat_(TypographicWith(Gdiplus::StringFormatFlagsNoWrap)),
      measureFormat_(TypographicWith(Gdiplus::StringFormatFlagsNoWrap |
                                     Gdiplus::StringFormatFlagsMeasureTrailingSpaces)) {}

GdiplusFonts::~GdiplusFonts() = default;

const Gdiplus::FontFamily* GdiplusFonts::Family(const std::wstring& name) {
  auto found = families_.find(name);
  if (found == families_.end()) found = families_.emplace(name, Installed(name.c_str())).first;
  if (found->second) return found->second.get();
  if (!fallback_) fallback_ = FallbackFamily();
  return fallback_.get();
}

bool GdiplusFonts::HasFamily(const std::wstring& family) {
  Family(family);
  return families_[family] != nullptr;
}

const Gdiplus::Font* GdiplusFonts::Get(const FontSpec& wanted) {
  if (!(wanted.pixelSize > 0)) return nullptr;
  const auto key = std::make_tuple(wanted.family, wanted.pixelSize, wanted.style);
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second.get();
  std::unique_ptr<Gdiplus::Font> font;
  if (const Gdiplus::FontFamily* family = Family(wanted.family)) {
    font = std::make_unique<Gdiplus::Font>(family, wanted.pixelSize, INT(wanted.style & (kFontBold | kFontItalic)),
                                           Gdiplus::UnitPixel);
    if (font->GetLastStatus() != Gdiplus::Ok) font.reset();
  }
  return fonts_.emplace(key, std::move(font)).first->second.get();
}

std::unique_ptr<Gdiplus::StringFormat> MakeTextBoxFormat(const TextBoxFormat& format) {
  auto align = [](TextAlign a) {
    switch (a) {
      case TextAlign::Center: return Gdiplus::StringAlignmentCenter;
      case TextAlign::Far: return Gdiplus::StringAlignmentFar;
      case TextAlign::Near: break;
    }
    return Gdiplus::StringAlignmentNear;
  };
  auto made = std::make_unique<Gdiplus::StringFormat>(format.wrap ? Gdiplus::StringFormatFlagsLineLimit
                                                                   : Gdiplus::StringFormatFlagsNoWrap);
  made->SetAlignment(align(format.horizontal));
  made->SetLineAlignment(align(format.vertical));
  made->SetTrimming(format.ellipsis ? Gdiplus::StringTrimmingEllipsisCharacter : Gdiplus::StringTrimmingNone);
  return made;
}

void UseSmoothDrawing(Gdiplus::Graphics& graphics) {
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
}

INT GdiplusLength(std::wstring_view text) { return INT(std::min<size_t>(text.size(), INT_MAX)); }
