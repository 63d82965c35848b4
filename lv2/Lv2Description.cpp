// SPDX-License-Identifier: GPL-3.0-or-later
#include "lv2/Lv2Description.h"

#include "lv2/Lv2Ports.h"
#include "lv2/Lv2Uris.h"
#include "processor/FactoryPrograms.h"
#include "processor/ParameterInfo.h"

#include <charconv>
#include <sstream>

namespace nadrix
{
namespace
{
    constexpr const char* prefixes = "@prefix atom:  <http://lv2plug.in/ns/ext/atom#> .\n"
                                     "@prefix doap:  <http://usefulinc.com/ns/doap#> .\n"
                                     "@prefix foaf:  <http://xmlns.com/foaf/0.1/> .\n"
                                     "@prefix lv2:   <http://lv2plug.in/ns/lv2core#> .\n"
                                     "@prefix opts:  <http://lv2plug.in/ns/ext/options#> .\n"
                                     "@prefix pg:    <http://lv2plug.in/ns/ext/port-groups#> .\n"
                                     "@prefix pprop: <http://lv2plug.in/ns/ext/port-props#> .\n"
                                     "@prefix pset:  <http://lv2plug.in/ns/ext/presets#> .\n"
                                     "@prefix rdf:   <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
                                     "@prefix rdfs:  <http://www.w3.org/2000/01/rdf-schema#> .\n"
                                     "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
                                     "@prefix ui:    <http://lv2plug.in/ns/extensions/ui#> .\n"
                                     "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
                                     "@prefix urid:  <http://lv2plug.in/ns/ext/urid#> .\n"
                                     "@prefix work:  <http://lv2plug.in/ns/ext/worker#> .\n"
                                     "@prefix xsd:   <http://www.w3.org/2001/XMLSchema#> .\n\n";

    // The fewest digits that read back as the same float, always with a
    // decimal point: a Turtle decimal, which every host reads as a float
    // (some take a bare "80" for an integer and refuse it for a port).
    std::string exactly (float value)
    {
        char text[64];
        const auto end = std::to_chars (text, text + sizeof (text), value, std::chars_format::fixed).ptr;
        std::string s (text, end);
        if (s.find ('.') == std::string::npos)
            s += ".0";
        return s;
    }

    std::string uri (const std::string& s) { return "<" + s + ">"; }
    std::string presetUri (int program) { return uri (Lv2Uris::presetPrefix + std::to_string (program + 1)); }

    void audioPort (std::ostream& os, uint32_t index, bool input, int channel)
    {
        const char* side = channel == 1 ? "left" : "right";
        os << " [\n"
           << "\t\ta lv2:" << (input ? "InputPort" : "OutputPort") << " , lv2:AudioPort ;\n"
           << "\t\tlv2:index " << index << " ;\n"
           << "\t\tlv2:symbol \"audio_" << (input ? "in" : "out") << "_" << channel << "\" ;\n"
           << "\t\tlv2:name \"Audio " << (input ? "In" : "Out") << " " << channel << "\" ;\n"
           << "\t\tpg:group " << (input ? "<" NADRIX_LV2_URI ":input_group_1>" : "<" NADRIX_LV2_URI ":output_group_1>") << " ;\n"
           << "\t\tlv2:designation pg:" << side << " ;\n"
           << "\t]";
    }

    void parameterPort (std::ostream& os, int i)
    {
        const auto& row = ParameterInfo::rowOf (i);
        const float start = ParameterInfo::shownValue (i, FactoryPrograms::normalised (FactoryPrograms::startProgram, i));
        os << " [\n"
           << "\t\ta lv2:InputPort , lv2:ControlPort ;\n"
           << "\t\tlv2:index " << Lv2Ports::ofParameter (i) << " ;\n"
           << "\t\tlv2:symbol \"" << ParameterInfo::symbol (i) << "\" ;\n"
           << "\t\tlv2:name \"" << ParameterInfo::name (i) << "\" ;\n"
           << "\t\tlv2:default " << exactly (start) << " ;\n"
           << "\t\tlv2:minimum " << exactly (row.shownMinimum) << " ;\n"
           << "\t\tlv2:maximum " << exactly (row.shownMaximum) << " ;\n";
        if (row.lv2Unit[0] != '\0')
            os << "\t\tunits:unit units:" << row.lv2Unit << " ;\n";
        // A line is on or off for the host (its 0.5, on but not counted in
        // the level, comes only from a saved value).
        if (row.unit == ParameterInfo::Unit::onOff)
            os << "\t\tlv2:portProperty lv2:toggled , lv2:integer ;\n";
        if (! row.automatable)
            os << "\t\tlv2:portProperty pprop:notAutomatic ;\n";
        os << "\t]";
    }
}

std::string Lv2Description::manifest (const Bundle& bundle)
{
    std::ostringstream os;
    os << prefixes
       << uri (Lv2Uris::plugin) << "\n"
       << "\ta lv2:Plugin , lv2:ReverbPlugin ;\n"
       << "\tlv2:binary <" << bundle.dspBinary << "> ;\n"
       << "\trdfs:seeAlso <dsp.ttl> .\n\n";
    if (! bundle.uiBinary.empty())
        os << uri (Lv2Uris::ui) << "\n"
           << "\ta ui:X11UI ;\n"
           << "\tlv2:binary <" << bundle.uiBinary << "> ;\n"
           << "\trdfs:seeAlso <ui.ttl> .\n\n";
    for (int p = 0; p < FactoryPrograms::count; ++p)
        os << presetUri (p) << "\n"
           << "\ta pset:Preset ;\n"
           << "\tlv2:appliesTo " << uri (Lv2Uris::plugin) << " ;\n"
           << "\trdfs:seeAlso <presets.ttl> .\n\n";
    return os.str();
}

std::string Lv2Description::plugin (const Bundle& bundle)
{
    std::ostringstream os;
    os << prefixes
       << "<" NADRIX_LV2_URI ":input_group_1>\n\ta pg:InputGroup , pg:StereoGroup ;\n\tlv2:name \"Input\" ;\n\tlv2:symbol \"input_group_1\" .\n\n"
       << "<" NADRIX_LV2_URI ":output_group_1>\n\ta pg:OutputGroup , pg:StereoGroup ;\n\tlv2:name \"Output\" ;\n\tlv2:symbol \"output_group_1\" .\n\n"
       << uri (Lv2Uris::program) << "\n"
       << "\ta rdf:Property ;\n"
       << "\trdfs:label \"Program\" ;\n"
       << "\trdfs:comment \"The factory program a preset starts the reverb afresh with, 0 to 5.\" ;\n"
       << "\trdfs:range xsd:int .\n\n"
       << uri (Lv2Uris::plugin) << "\n"
       << "\ta lv2:Plugin , lv2:ReverbPlugin , doap:Project ;\n"
       << "\tdoap:name \"Nadrix\" ;\n"
       << "\tdoap:license <https://spdx.org/licenses/GPL-3.0-or-later> ;\n"
       << "\tdoap:maintainer [\n\t\ta foaf:Person ;\n\t\tfoaf:name \"Mirelock\" ;\n\t\tfoaf:homepage <https://mirelock.com> ;\n"
       << "\t\tfoaf:mbox <mailto:support@mirelock.com> ;\n\t] ;\n"
       << "\tdoap:release [\n\t\ta doap:Version ;\n\t\tdoap:revision \"" << bundle.version << "\" ;\n\t] ;\n"
       << "\tlv2:minorVersion " << bundle.minorVersion << " ;\n"
       << "\tlv2:microVersion " << bundle.microVersion << " ;\n";
    if (! bundle.uiBinary.empty())
        os << "\tui:ui " << uri (Lv2Uris::ui) << " ;\n";
    os << "\tlv2:requiredFeature urid:map ;\n"
       << "\tlv2:optionalFeature lv2:hardRTCapable , work:schedule ;\n"
       << "\tlv2:extensionData state:interface , work:interface ;\n"
       << "\tpg:mainInput <" NADRIX_LV2_URI ":input_group_1> ;\n"
       << "\tpg:mainOutput <" NADRIX_LV2_URI ":output_group_1> ;\n"
       << "\tlv2:port";

    audioPort (os, Lv2Ports::audioInLeft, true, 1);
    os << " ,";
    audioPort (os, Lv2Ports::audioInRight, true, 2);
    os << " ,";
    audioPort (os, Lv2Ports::audioOutLeft, false, 1);
    os << " ,";
    audioPort (os, Lv2Ports::audioOutRight, false, 2);
    // The atom ports carry nothing; they keep the places 0.3.0 gave them.
    os << " , [\n\t\ta lv2:InputPort , atom:AtomPort ;\n\t\tatom:bufferType atom:Sequence ;\n\t\tlv2:index " << Lv2Ports::atomIn
       << " ;\n\t\tlv2:symbol \"in\" ;\n\t\tlv2:name \"In\" ;\n\t\tlv2:portProperty lv2:connectionOptional , pprop:notOnGUI ;\n\t]"
       << " , [\n\t\ta lv2:OutputPort , atom:AtomPort ;\n\t\tatom:bufferType atom:Sequence ;\n\t\tlv2:index " << Lv2Ports::atomOut
       << " ;\n\t\tlv2:symbol \"out\" ;\n\t\tlv2:name \"Out\" ;\n\t\tlv2:portProperty lv2:connectionOptional , pprop:notOnGUI ;\n\t]"
       << " , [\n\t\ta lv2:OutputPort , lv2:ControlPort ;\n\t\tlv2:designation lv2:latency ;\n\t\tlv2:index " << Lv2Ports::latency
       << " ;\n\t\tlv2:symbol \"latency\" ;\n\t\tlv2:name \"Latency\" ;\n"
       << "\t\tlv2:portProperty lv2:reportsLatency , lv2:integer , lv2:connectionOptional , pprop:notOnGUI ;\n\t\tunits:unit units:frame ;\n\t]"
       << " , [\n\t\ta lv2:InputPort , lv2:ControlPort ;\n\t\tlv2:designation lv2:freeWheeling ;\n\t\tlv2:index " << Lv2Ports::freeWheeling
       << " ;\n\t\tlv2:symbol \"freeWheeling\" ;\n\t\tlv2:name \"Free Wheeling\" ;\n\t\tlv2:default 0 ;\n\t\tlv2:minimum 0 ;\n\t\tlv2:maximum 1 ;\n"
       << "\t\tlv2:portProperty lv2:toggled , lv2:connectionOptional , pprop:notOnGUI ;\n\t]"
       << " , [\n\t\ta lv2:InputPort , lv2:ControlPort ;\n\t\tlv2:designation lv2:enabled ;\n\t\tlv2:index " << Lv2Ports::enabled
       << " ;\n\t\tlv2:symbol \"enabled\" ;\n\t\tlv2:name \"Enabled\" ;\n\t\tlv2:default 1 ;\n\t\tlv2:minimum 0 ;\n\t\tlv2:maximum 1 ;\n"
       << "\t\tlv2:portProperty lv2:toggled , lv2:connectionOptional , pprop:notOnGUI ;\n\t]";

    for (int i = 0; i < ParameterLayout::numParameters; ++i)
    {
        os << " ,";
        parameterPort (os, i);
    }
    os << " .\n";
    return os.str();
}

std::string Lv2Description::ui (const Bundle& bundle)
{
    std::ostringstream os;
    os << prefixes
       << uri (Lv2Uris::ui) << "\n"
       << "\ta ui:X11UI ;\n"
       << "\tlv2:binary <" << bundle.uiBinary << "> ;\n"
       << "\tlv2:requiredFeature ui:idleInterface , ui:parent , urid:map ;\n"
       << "\tlv2:optionalFeature ui:resize , ui:touch , ui:noUserResize , opts:options ;\n"
       << "\tlv2:extensionData ui:idleInterface ;\n"
       << "\topts:supportedOption ui:scaleFactor , <http://lv2plug.in/ns/ext/parameters#sampleRate> .\n";
    return os.str();
}

std::string Lv2Description::presets()
{
    std::ostringstream os;
    os << prefixes;
    for (int p = 0; p < FactoryPrograms::count; ++p)
    {
        os << presetUri (p) << "\n"
           << "\ta pset:Preset ;\n"
           << "\tlv2:appliesTo " << uri (Lv2Uris::plugin) << " ;\n"
           << "\trdfs:label \"" << FactoryPrograms::names[p] << "\" ;\n"
           << "\tstate:state [ " << uri (Lv2Uris::program) << " \"" << p << "\"^^xsd:int ] ;\n"
           << "\tlv2:port";
        for (int i = 0; i < ParameterLayout::numParameters; ++i)
            os << (i == 0 ? "" : " ,") << " [\n\t\tlv2:symbol \"" << ParameterInfo::symbol (i) << "\" ;\n\t\tpset:value "
               << exactly (ParameterInfo::shownValue (i, FactoryPrograms::normalised (p, i))) << " ;\n\t]";
        os << " .\n\n";
    }
    return os.str();
}
} // namespace nadrix
