// Use of the XML library: its set-up is counted, so each session pairs one set-up with one
// tear-down. Every level load holds one; holding another around a run of loads (a level
// editor's, a fuzzer's, a benchmark's) spares them the library's full set-up each time.
#pragma once

class XmlPlatformSession {
public:
    XmlPlatformSession();
    ~XmlPlatformSession();
    XmlPlatformSession(const XmlPlatformSession&) = delete;
    XmlPlatformSession& operator=(const XmlPlatformSession&) = delete;
};
