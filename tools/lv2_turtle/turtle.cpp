#include "tools/lv2_turtle/turtle.h"

#include <cstdio>
#include <sstream>

#include "common/plugin_identity.h"
#include "host/lv2/lv2_identity.h"
#include "host/lv2/lv2_ports.h"

namespace vorn::tools {
namespace {

constexpr const char* kPrefixes =
    "@prefix doap:  <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf:  <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2:   <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix rdfs:  <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix ui:    <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n\n";

std::string uri(const char* text) { return std::string("<") + text + ">"; }

// Turtle's decimal form, which every reader takes as a number.
std::string decimal(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(value));
    return text;
}

void describePort(std::ostream& out, uint32_t port) {
    using namespace lv2;
    const PortKind kind = portKind(port);
    const bool input = kind == PortKind::audioInput || kind == PortKind::gainControl;
    const bool audio = kind == PortKind::audioInput || kind == PortKind::audioOutput;
    out << "\t\ta lv2:" << (input ? "InputPort" : "OutputPort") << " , lv2:"
        << (audio ? "AudioPort" : "ControlPort") << " ;\n"
        << "\t\tlv2:index " << port << " ;\n"
        << "\t\tlv2:symbol \"" << portSymbol(port) << "\" ;\n"
        << "\t\tlv2:name \"" << portName(port) << "\"";
    if (kind == PortKind::gainControl) {
        out << " ;\n\t\tlv2:default " << decimal(kDefaultGainDb) << " ;\n"
            << "\t\tlv2:minimum " << decimal(kMinGainDb) << " ;\n"
            << "\t\tlv2:maximum " << decimal(kMaxGainDb) << " ;\n"
            << "\t\tunits:unit units:db";
    } else if (kind == PortKind::levelOutput) {
        out << " ;\n\t\tlv2:minimum 0.0 ;\n"
            << "\t\tlv2:maximum " << decimal(kMaxReportedLevel) << " ;\n"
            << "\t\tunits:unit units:coef";
    }
    out << "\n";
}

}  // namespace

std::string manifestTurtle(const std::string& dspBinary, const std::string& uiBinary) {
    std::ostringstream out;
    out << "@prefix lv2:   <http://lv2plug.in/ns/lv2core#> .\n"
        << "@prefix rdfs:  <http://www.w3.org/2000/01/rdf-schema#> .\n"
        << "@prefix ui:    <http://lv2plug.in/ns/extensions/ui#> .\n\n"
        << uri(lv2::kPluginUri) << "\n"
        << "\ta lv2:Plugin ;\n"
        << "\tlv2:binary <" << dspBinary << "> ;\n"
        << "\trdfs:seeAlso <vorn.ttl> .\n\n"
        << uri(lv2::kUiUri) << "\n"
        << "\ta ui:X11UI ;\n"
        << "\tlv2:binary <" << uiBinary << "> ;\n"
        << "\trdfs:seeAlso <vorn.ttl> .\n";
    return out.str();
}

std::string pluginTurtle() {
    std::ostringstream out;
    out << kPrefixes << uri(lv2::kPluginUri) << "\n"
        << "\ta lv2:Plugin , lv2:EQPlugin ;\n"
        << "\tdoap:name \"" << identity::kEffectName << "\" ;\n"
        << "\tlv2:project [\n\t\ta doap:Project ;\n\t\tdoap:name \"" << identity::kEffectName
        << "\" ;\n\t\tdoap:maintainer [\n\t\t\tfoaf:name \"" << identity::kVendorString
        << "\"\n\t\t]\n\t] ;\n"
        << "\tlv2:optionalFeature lv2:hardRTCapable ;\n"
        << "\tui:ui " << uri(lv2::kUiUri) << " ;\n"
        << "\tlv2:port [\n";
    for (uint32_t port = 0; port < lv2::kPortCount; ++port) {
        if (port > 0) out << "\t] , [\n";
        describePort(out, port);
    }
    out << "\t] .\n\n";

    // The editor: it needs the host's window and its idle calls, and draws
    // the two levels, which the host is asked to send.
    out << uri(lv2::kUiUri) << "\n"
        << "\ta ui:X11UI ;\n"
        << "\tlv2:requiredFeature ui:parent , ui:idleInterface ;\n"
        << "\tlv2:optionalFeature ui:resize , ui:noUserResize ;\n"
        << "\tlv2:extensionData ui:idleInterface ;\n"
        << "\tui:portNotification [\n";
    const uint32_t levels[] = {lv2::kInputLevelPort, lv2::kOutputLevelPort};
    for (uint32_t port : levels) {
        if (port != levels[0]) out << "\t] , [\n";
        out << "\t\tui:plugin " << uri(lv2::kPluginUri) << " ;\n"
            << "\t\tlv2:symbol \"" << lv2::portSymbol(port) << "\" ;\n"
            << "\t\tui:notifyType ui:floatProtocol\n";
    }
    out << "\t] .\n";
    return out.str();
}

}  // namespace vorn::tools
