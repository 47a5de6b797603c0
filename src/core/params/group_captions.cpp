#include "core/params/group_captions.h"

#include <map>

namespace rvq::params {

std::string GroupCaption(int checkBoxId) {
    static const std::map<int, const char*> captions = {
        {4000, "Image"},
        {4001, "Supply"},
        {4002, "Peel Off"},
        {4003, "XML"},
        {4004, "Control"},
        {4005, "Action"},
        {4006, "Command"},
        {4050, "Position Adjustment"},
        {4051, "Tone Adjustment"},
        {4052, "BASIC"},
        {4053, "Password"},
        {4054, "Product"},
        {4055, "Sensor Adjustment"},
        {4056, "Ribbon Adjustment"},
        {4057, "RTC"},
        {4058, "Display"},
        {4100, "RS-232C"},
        {4101, "CENTRO."},
        {4102, "USB"},
        {4103, "TCP/IP"},
        {4104, "Protocol"},
        {4105, "Server"},
        {4106, "SNMP Trap"},
        {4150, "WLAN Basic"},
        {4151, "WLAN Detail"},
        {4152, "802.11b"},
        {4153, "802.11g"},
        {4154, "Priority AP"},
        {4155, "Authentication"},
        {4156, "WEP"},
        {4204, "WPA-PSK"},
        {4205, "Account"},
        {4206, "802.1X"},
        {4207, "Supplicant"},
        {4208, "EAP-FAST"},
        {4209, "CCX"},
        {4250, "Module"},
        {4251, "UHF Setting"},
        {4252, "Tag Check"},
        {4253, "Retry"},
    };
    const auto found = captions.find(checkBoxId);
    return found == captions.end() ? std::string() : std::string(found->second);
}

}  // namespace rvq::params
