#pragma once

#include <curl/curl.h>

#include <memory>

namespace Lumisong {

// Owners of libcurl's handles, so that every path out of a scope cleans up.
struct CurlEasyDeleter
{
    void operator()(CURL *handle) const { curl_easy_cleanup(handle); }
};
struct CurlMultiDeleter
{
    void operator()(CURLM *handle) const { curl_multi_cleanup(handle); }
};
struct CurlShareDeleter
{
    void operator()(CURLSH *handle) const { curl_share_cleanup(handle); }
};
struct CurlListDeleter
{
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};

using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;
using CurlMulti = std::unique_ptr<CURLM, CurlMultiDeleter>;
using CurlShare = std::unique_ptr<CURLSH, CurlShareDeleter>;
using CurlList = std::unique_ptr<curl_slist, CurlListDeleter>;

// libcurl's process-wide set-up, once, before the first handle.
void initialiseCurl();

} // namespace Lumisong
