#include "world/XmlPlatformSession.h"

#include <xercesc/util/PlatformUtils.hpp>

namespace {

const char* const kXmlLocale = "en_US";

}  // namespace

XmlPlatformSession::XmlPlatformSession() { xercesc::XMLPlatformUtils::Initialize(kXmlLocale); }

XmlPlatformSession::~XmlPlatformSession() { xercesc::XMLPlatformUtils::Terminate(); }
