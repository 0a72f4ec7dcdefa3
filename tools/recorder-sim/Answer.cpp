#include "tools/recorder-sim/Answer.h"

#include <algorithm>

#include "tools/recorder-sim/Catalogue.h"

namespace torvin::sim {

std::string EscapeXml(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 16);
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out += c;
        }
    }
    return out;
}

std::vector<std::string> ItemLines(const TRecording& r, const std::string& streamHost) {
    const std::string id = std::to_string(r.recordNo);
    const std::string url =
        "http://" + streamHost + "/video?O=V" + id + "&P=2&C=1";
    return {
        "<item id=\"" + id + "\" parentID=\"C1\" restricted=\"1\"><dc:title>" + EscapeXml(r.title) +
            "</dc:title>",
        "<upnp:class>object.item.videoItem</upnp:class>",
        "<av:dateTime>" + r.dateTime + "</av:dateTime>",
        "<res av:kind=\"0\" protocolInfo=\"http-get:*:video/mpeg:DLNA.ORG_PN=MPEG_PS_NTSC\" size=\"" +
            r.size + "\" duration=\"" + r.duration +
            "\" bitrate=\"458333\" resolution=\"720x480\">" + EscapeXml(url) + "</res>",
        "<upnp:channelName>" + EscapeXml(r.channel) + "</upnp:channelName>",
        "<av:recordQualityMode>SP</av:recordQualityMode>",
        "</item>",
    };
}

std::string ComposeBrowseAnswer(const std::vector<TRecording>& catalogue, std::int64_t start,
                                std::int64_t count, const TAnswerOptions& options) {
    const auto total = static_cast<std::int64_t>(catalogue.size());
    const std::int64_t from = std::clamp<std::int64_t>(start, 0, total);
    const std::int64_t to = std::clamp<std::int64_t>(from + std::max<std::int64_t>(count, 0), from, total);
    const std::string& nl = options.lineEnd;

    std::string body;
    body.reserve(static_cast<std::size_t>(to - from) * 700 + 512);
    body += "<?xml version=\"1.0\"?>" + nl;
    body += "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
            "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">" + nl;
    body += "<s:Body>" + nl;
    body += "<u:BrowseResponse xmlns:u=\"urn:schemas-upnp-org:service:ContentDirectory:1\">" + nl;
    body += "<Result>" +
            EscapeXml("<DIDL-Lite xmlns=\"urn:schemas-upnp-org:metadata-1-0/DIDL-Lite/\" "
                      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\">") + nl;
    for (std::int64_t i = from; i < to; ++i) {
        for (const auto& line : ItemLines(catalogue[static_cast<std::size_t>(i)], options.streamHost)) {
            if (options.dropFirstRes && i == 0 && line.rfind("<res ", 0) == 0) continue;
            body += EscapeXml(line);
            body += nl;
        }
    }
    body += EscapeXml("</DIDL-Lite>") + nl;
    const std::int64_t returned = options.numberReturned ? *options.numberReturned : to - from;
    const std::int64_t matches = options.totalMatches ? *options.totalMatches : total;
    body += "</Result><NumberReturned>" + std::to_string(returned) + "</NumberReturned><TotalMatches>" +
            std::to_string(matches) + "</TotalMatches><UpdateID>1</UpdateID>" + nl;
    body += "</u:BrowseResponse>" + nl;
    body += "</s:Body>" + nl;
    body += "</s:Envelope>" + nl;

    std::string head = "HTTP/1.0 200 OK" + nl;
    head += "Content-Type: text/xml; charset=\"utf-8\"" + nl;
    head += "Content-Length: " + std::to_string(body.size()) + nl;
    head += "Server: Torvin recorder simulator" + nl;
    head += nl;
    return head + body;
}

}  // namespace torvin::sim
