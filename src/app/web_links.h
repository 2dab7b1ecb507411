// Every web address and the contact number the program shows or opens, in one
// place. They are placeholders until the project has pages of its own.
#pragma once

namespace kx::app {

inline constexpr char16_t kDataSourcePage[] = u"https://www.example.com/kestrix/data-source";
inline constexpr char16_t kVideoTutorialPage[] = u"https://www.example.com/kestrix/video-tutorial";
inline constexpr char16_t kHomePage[] = u"https://www.example.com/kestrix/";
inline constexpr char16_t kMoreSoftwarePage[] = u"https://www.example.com/kestrix/more-software";
inline constexpr char16_t kBatchToolPage[] = u"https://www.example.com/kestrix/batch-tool";
inline constexpr char16_t kContactNumber[] = u"10000";
inline constexpr char16_t kContactPage[] = u"https://www.example.com/kestrix/contact?number=10000";
inline constexpr char16_t kMakerHomePage[] = u"https://www.example.com/";

}  // namespace kx::app
