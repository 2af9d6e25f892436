// Bounds on the bodies the HTTP clients collect whole (THttpCli::SetRcvdStreamLimit): a
// server that sends without end must not exhaust memory or disk. A body beyond its bound
// ends the request with http_error::kReceiveLimit.
#pragma once

#include <cstdint>

namespace qs::receive_limit {

inline constexpr int64_t kMiB = 1024 * 1024;
// A search engine's result page, read by the ranking check.
inline constexpr int64_t kRankPage = 4 * kMiB;
// A page whose meta tags are read.
inline constexpr int64_t kMetaPage = 4 * kMiB;
// A page of the site spider.
inline constexpr int64_t kSpiderPage = 4 * kMiB;
// The update server's update-info.txt.
inline constexpr int64_t kUpdateInfo = 1 * kMiB;
// A database or software update archive.
inline constexpr int64_t kUpdateArchive = 256 * kMiB;

}  // namespace qs::receive_limit
