#include "files/svg_texts.h"

#include <cstdlib>
#include <map>

namespace brixo {

namespace {

std::string EntitiesRead(const std::string& text) {
  static const std::pair<const char*, const char*> kEntities[] = {{"&lt;", "<"},   {"&gt;", ">"},  {"&quot;", "\""},
                                                                  {"&apos;", "'"}, {"&#39;", "'"}, {"&amp;", "&"}};
  std::string out;
  for (size_t i = 0; i < text.size();) {
    bool replaced = false;
    if (text[i] == '&') {
      for (const auto& [entity, character] : kEntities) {
        const std::string name(entity);
        if (text.compare(i, name.size(), name) == 0) {
          out += character;
          i += name.size();
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

// The attributes of a start tag's inside ("x="8" y="15""); false for anything else.
bool ReadAttributes(const std::string& inside, std::map<std::string, std::string>& attributes) {
  size_t i = 0;
  while (true) {
    while (i < inside.size() && inside[i] == ' ') ++i;
    if (i == inside.size()) return true;
    const size_t equals = inside.find('=', i);
    if (equals == std::string::npos || equals + 1 >= inside.size() || inside[equals + 1] != '"') return false;
    const size_t close = inside.find('"', equals + 2);
    if (close == std::string::npos) return false;
    attributes[inside.substr(i, equals - i)] = EntitiesRead(inside.substr(equals + 2, close - equals - 2));
    i = close + 1;
  }
}

bool Number(const std::map<std::string, std::string>& attributes, const char* name, double& value) {
  const auto found = attributes.find(name);
  if (found == attributes.end()) return true;
  char* end = nullptr;
  value = std::strtod(found->second.c_str(), &end);
  return end != found->second.c_str() && *end == '\0';
}

// One plain text element, or false to leave it to the renderer.
bool ReadText(const std::string& inside, const std::string& content, SvgText& text) {
  std::map<std::string, std::string> attributes;
  if (!ReadAttributes(inside, attributes)) return false;
  for (const auto& [name, value] : attributes) {
    if (name != "x" && name != "y" && name != "font-size" && name != "font-weight" && name != "text-anchor" &&
        name != "fill")
      return false;
  }
  if (!Number(attributes, "x", text.X) || !Number(attributes, "y", text.Y) ||
      !Number(attributes, "font-size", text.Size))
    return false;
  const std::string weight = attributes.count("font-weight") ? attributes["font-weight"] : "normal";
  if (weight != "normal" && weight != "bold") return false;
  text.Bold = weight == "bold";
  const std::string anchor = attributes.count("text-anchor") ? attributes["text-anchor"] : "start";
  if (anchor == "middle")
    text.Anchor = SvgAnchor::Middle;
  else if (anchor == "end")
    text.Anchor = SvgAnchor::End;
  else if (anchor != "start")
    return false;
  if (attributes.count("fill")) text.Fill = attributes["fill"];
  text.Text = EntitiesRead(content);
  return true;
}

}  // namespace

SvgParts SplitSvgTexts(const std::string& svg) {
  SvgParts parts;
  size_t copied = 0;
  for (size_t open = svg.find("<text"); open != std::string::npos; open = svg.find("<text", open + 1)) {
    const size_t tagEnd = svg.find('>', open);
    const size_t close = tagEnd == std::string::npos ? std::string::npos : svg.find("</text>", tagEnd);
    if (close == std::string::npos) break;
    const std::string content = svg.substr(tagEnd + 1, close - tagEnd - 1);
    SvgText text;
    const bool plain = (svg[open + 5] == ' ' || svg[open + 5] == '>') && svg[tagEnd - 1] != '/' &&
                       content.find('<') == std::string::npos &&
                       ReadText(svg.substr(open + 5, tagEnd - open - 5), content, text);
    if (!plain) continue;
    parts.Shapes += svg.substr(copied, open - copied);
    parts.Texts.push_back(std::move(text));
    copied = close + 7;
    open = copied - 1;
  }
  parts.Shapes += svg.substr(copied);
  return parts;
}

}  // namespace brixo
