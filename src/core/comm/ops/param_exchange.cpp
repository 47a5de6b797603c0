#include "core/comm/ops/param_exchange.h"

#include <algorithm>
#include <string>

#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/port/command_channel.h"
#include "core/params/clock_reply.h"
#include "core/params/command_args.h"
#include "core/params/get_reply.h"
#include "core/params/group_captions.h"
#include "core/params/model_values.h"
#include "core/params/ribbon_width.h"

namespace rvq {

namespace {

// Where a parameter operation failed, as its log line names it.
struct FailurePlace {
    std::string page;
    std::string item;
    std::string extra;
};

FailurePlace PlaceOf(const Strings& strings, int pageIndex, int checkBoxId) {
    return {strings.Get(sid::kFirstPageTitle + pageIndex),
            params::GroupCaption(strings, checkBoxId),
            {}};
}

const ParamGroup* GroupById(const PrinterModel& model, int checkBoxId) {
    const auto found =
        std::find_if(model.groups.begin(), model.groups.end(),
                     [&](const ParamGroup& g) { return g.checkBoxId == checkBoxId; });
    return found == model.groups.end() ? nullptr : &*found;
}

bool Lists(const ParamGroup& group, int getCommandId) {
    return std::find(group.getCommands.begin(), group.getCommands.end(), getCommandId) !=
           group.getCommands.end();
}

// The first group (of `groupIds`, or of the model when empty) that reads
// back with the command.
const ParamGroup* GroupReading(const PrinterModel& model, int getCommandId,
                               const std::vector<int>* groupIds) {
    for (const ParamGroup& group : model.groups) {
        if (!Lists(group, getCommandId)) continue;
        if (groupIds != nullptr &&
            std::find(groupIds->begin(), groupIds->end(), group.checkBoxId) == groupIds->end())
            continue;
        return &group;
    }
    return nullptr;
}

// Logs a failed get; a command no group lists has no place to name.
void LogGetFailure(ParamSession& session, const ParamGroup* group) {
    if (group == nullptr) {
        session.log.Fail(sid::kDetailGetFailed);
        return;
    }
    const FailurePlace place = PlaceOf(session.strings, group->pageIndex, group->checkBoxId);
    session.log.FailAt(sid::kDetailGetFailed, place.page, place.item, place.extra);
}

// The get exchange of one command, its clock reply joined.
bool Get(ParamSession& session, int commandId, std::vector<std::string>& fields) {
    if (!session.channel.SendGetCommand(commandId, session.port, fields)) return false;
    if (commandId == params::kClockGetCommand) params::JoinClockReply(fields);
    return true;
}

// A value this job read for one item.
struct ReadValue {
    std::size_t index;
    int number;
    std::string text;
};

// Prepares and binds one command's items in a model other jobs also read
// into, and keeps what this job read for them.
void BindOwnItems(ParamSession& session, int commandId, const std::vector<std::string>& fields,
                  std::vector<ReadValue>& staged) {
    std::vector<ParamItem>& items = session.model.items;
    for (ParamItem& item : items) {
        if (item.getCmdIndex != commandId || item.offset < 0) continue;
        item.numRead = item.numValue;
        item.textRead = item.textValue;
    }
    params::BindGetReply(commandId, fields, session.model, session.language);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ParamItem& item = items[i];
        if (item.getCmdIndex != commandId || item.offset < 0) continue;
        if (static_cast<std::size_t>(item.offset) >= fields.size()) continue;
        staged.push_back({i, item.numRead, item.textRead});
    }
}

void CommitOwnItems(PrinterModel& model, const std::vector<ReadValue>& staged) {
    for (const ReadValue& value : staged) {
        ParamItem& item = model.items[value.index];
        item.numRead = item.numValue = value.number;
        item.textRead = item.textValue = value.text;
    }
}

// The message text of the first item of the command that has one.
std::string MessageOf(const ParamSession& session, const SetCommand& command) {
    for (const std::string& name : command.paramNames) {
        const ParamItem* item = FindItem(session.model, name);
        if (item == nullptr || item->messageId == 0) continue;
        const std::string& text = session.strings.Get(item->messageId);
        if (!text.empty()) return text;
    }
    return {};
}

// Sends one set command with the arguments the collector makes of it.
bool SendSet(ParamSession& session, const SetCommand& command) {
    params::CommandArgs args;
    {
        const std::lock_guard lock(session.modelMutex);
        args = params::CollectCommandArgs(command, session.model, session.sendContext);
    }
    bool sent = false;
    switch (args.outcome) {
        case params::ArgsOutcome::Numbers:
            sent = session.channel.SendNumericSetCommand(command.commandId, session.port,
                                                         args.numbers, true);
            if (sent && params::IsRibbonWidthCommand(command)) {
                const std::lock_guard lock(session.modelMutex);
                params::ApplyRibbonWidthAcknowledgement(session.model,
                                                        session.channel.lastAcknowledgement());
            }
            break;
        case params::ArgsOutcome::Texts:
            sent = session.channel.SendStringSetCommand(command.commandId, session.port, args.texts,
                                                        true);
            break;
        case params::ArgsOutcome::Binary:
            // One file per upload command; anything else is a broken definition.
            sent = args.blocks.size() == 1 &&
                   session.channel.SendBinarySetCommand(command.commandId, session.port,
                                                        args.blocks.front());
            break;
        case params::ArgsOutcome::Skip:
            sent = true;
            break;
        case params::ArgsOutcome::FileFailed:
            sent = false;
            break;
    }
    if (sent && args.controlCodeAuto && session.onAutomaticCodes) session.onAutomaticCodes();
    // A skipped command, or one the printer met with silence, carried nothing it confirmed.
    const bool acknowledged = sent && args.outcome != params::ArgsOutcome::Skip &&
                              !session.channel.lastAcknowledgement().empty();
    if (acknowledged && session.onAcknowledged) session.onAcknowledged(command);
    return sent;
}

// Progress of a set: 45 percent from 5 over all its steps.
struct SetProgress {
    JobReporter& log;
    int total;
    int done = 0;
    void Step() {
        ++done;
        log.PostProgress(5 + done * 45 / std::max(total, 1));
    }
};

bool SendGroups(ParamSession& session, const std::vector<int>& groupIds, SetProgress& progress) {
    for (int groupId : groupIds) {
        const ParamGroup* group = GroupById(session.model, groupId);
        if (group == nullptr) continue;
        for (const SetCommand& command : group->setCommands) {
            if (session.log.CancelCheck()) return false;
            if (!SendSet(session, command)) {
                FailurePlace place = PlaceOf(session.strings, group->pageIndex, group->checkBoxId);
                {
                    const std::lock_guard lock(session.modelMutex);
                    place.extra = MessageOf(session, command);
                }
                session.log.FailAt(sid::kDetailSetFailed, place.page, place.item, place.extra);
                return false;
            }
            progress.Step();
        }
    }
    return true;
}

bool ReadBack(ParamSession& session, const std::vector<int>& groupIds,
              const std::vector<int>& verifyList, SetProgress& progress) {
    for (int commandId : verifyList) {
        if (session.log.CancelCheck()) return false;
        std::vector<std::string> fields;
        if (!Get(session, commandId, fields)) {
            LogGetFailure(session, GroupReading(session.model, commandId, &groupIds));
            return false;
        }
        params::VerifyResult result;
        {
            const std::lock_guard lock(session.modelMutex);
            result = params::VerifyGroupReply(groupIds, commandId, fields, session.model,
                                              session.sendContext, session.language);
        }
        if (!result.ok) {
            const params::VerifyFailure& failure = result.failure;
            const FailurePlace place =
                PlaceOf(session.strings, failure.pageIndex, failure.checkBoxId);
            session.log.FailAt(
                sid::kDetailSetFailed, place.page, place.item,
                failure.messageId != 0 ? session.strings.Get(failure.messageId) : "");
            return false;
        }
        progress.Step();
    }
    return true;
}

}  // namespace

bool ReadParameters(ParamSession& session, const std::vector<int>& commandIds, ReadScope scope) {
    if (scope == ReadScope::WholeModel) {
        const std::lock_guard lock(session.modelMutex);
        params::SeedReadValues(session.model);
    }
    session.log.PostProgress(5);
    std::vector<ReadValue> staged;
    const int count = static_cast<int>(commandIds.size());
    for (int i = 0; i < count; ++i) {
        if (session.log.CancelCheck()) return false;
        const int commandId = commandIds[static_cast<std::size_t>(i)];
        std::vector<std::string> fields;
        if (!Get(session, commandId, fields)) {
            LogGetFailure(session, GroupReading(session.model, commandId, nullptr));
            return false;
        }
        {
            const std::lock_guard lock(session.modelMutex);
            if (scope == ReadScope::WholeModel)
                params::BindGetReply(commandId, fields, session.model, session.language);
            else
                BindOwnItems(session, commandId, fields, staged);
        }
        session.log.PostProgress(5 + (i + 1) * 90 / count);
    }
    const std::lock_guard lock(session.modelMutex);
    if (scope == ReadScope::WholeModel)
        params::CommitReadValues(session.model);
    else
        CommitOwnItems(session.model, staged);
    return true;
}

std::vector<int> VerifyList(const PrinterModel& model, const std::vector<int>& groupIds) {
    std::vector<int> list;
    for (int groupId : groupIds) {
        const ParamGroup* group = GroupById(model, groupId);
        if (group == nullptr) continue;
        for (int id : group->getCommands) {
            if (std::find(list.begin(), list.end(), id) == list.end()) list.push_back(id);
        }
    }
    return list;
}

bool WriteParameters(ParamSession& session, const std::vector<int>& groupIds) {
    // The groups and their commands are the definition's: jobs never change
    // them, so they are read without the lock.
    const std::vector<int> verifyList = VerifyList(session.model, groupIds);
    int commands = 0;
    for (int groupId : groupIds) {
        if (const ParamGroup* group = GroupById(session.model, groupId))
            commands += static_cast<int>(group->setCommands.size());
    }
    SetProgress progress{session.log, commands + static_cast<int>(verifyList.size())};
    return SendGroups(session, groupIds, progress) &&
           ReadBack(session, groupIds, verifyList, progress);
}

}  // namespace rvq
