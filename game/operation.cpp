// SPDX-License-Identifier: GPL-3.0-or-later
#include "operation.h"

#include <sstream>

namespace tavlo {

namespace {

std::ostream& operator<<(std::ostream& out, Control c) {
    return out << controlName(c);
}

std::ostream& operator<<(std::ostream& out, Rgb c) {
    return out << '(' << int{c.red} << ", " << int{c.green} << ", " << int{c.blue} << ')';
}

} // namespace

std::string describe(const Operation& operation) {
    std::ostringstream out;
    out << std::boolalpha;
    std::visit(Overloaded{
                   [&](const op::SetBackColor& o) {
                       out << "SetBackColor(" << o.control << ", " << o.colour << ')';
                   },
                   [&](const op::SetForeColor& o) {
                       out << "SetForeColor(" << o.control << ", " << o.colour << ')';
                   },
                   [&](const op::SetCaption& o) {
                       out << "SetCaption(" << o.control << ", \"" << o.caption << "\")";
                   },
                   [&](const op::SetVisible& o) {
                       out << "SetVisible(" << o.control << ", " << o.visible << ')';
                   },
                   [&](const op::SetEnabled& o) {
                       out << "SetEnabled(" << o.control << ", " << o.enabled << ')';
                   },
                   [&](const op::SetPicture& o) {
                       out << "SetPicture(" << o.control << ", ImageList"
                           << (o.list == ImageList::ImageList1 ? 1 : 2) << ", " << o.index << ')';
                   },
                   [&](const op::SetToolTip& o) {
                       out << "SetToolTip(" << o.control << ", \"" << o.text << "\")";
                   },
                   [&](const op::Move& o) {
                       out << "Move(" << o.control << ", " << o.left << ", " << o.top << ", "
                           << o.width << ", " << o.height << ')';
                   },
                   [&](const op::SetMousePointer& o) {
                       out << "SetMousePointer("
                           << (o.pointer == MousePointer::Busy ? "Busy" : "Default") << ')';
                   },
                   [&](const op::Pause& o) { out << "Pause(" << o.milliseconds << ')'; },
                   [&](const op::SetAccessibleName& o) {
                       out << "SetAccessibleName(" << o.control << ", \"" << o.text << "\")";
                   },
                   [&](const op::News& o) {
                       out << "News(\"" << o.text << "\"" << (o.sayNow ? "" : ", kept") << ")";
                   },
                   [&](const op::DrawBoard&) { out << "DrawBoard()"; },
                   [&](const op::Close&) { out << "Close()"; },
               },
               operation);
    return out.str();
}

} // namespace tavlo
