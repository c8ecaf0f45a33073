#include "mail_arguments.h"

#include <cctype>

namespace quillo {

bool PassesCopyRecipients(std::string_view cc) { return cc.size() >= 9; }

std::string SenderDomain(std::string_view address) {
  const size_t at = address.find('@');
  if (at == std::string_view::npos) return kPlaceholderMailDomain;
  return std::string(address.substr(at + 1));
}

std::vector<std::string> MailArguments(const MailFields& f, std::string_view bodyFile,
                                       const std::vector<std::string>& attachments, MailDialogKind kind) {
  std::vector<std::string> args = {SenderDomain(f.address), "-b", std::string(bodyFile), "-r", f.to,
                                   "-s", f.subject, "-X", f.server, "-f", f.address, "-R", f.address,
                                   "-D", "localhost", "-S", f.address};
  const bool cc = PassesCopyRecipients(f.cc);
  if (kind == MailDialogKind::kRaw && cc) args.insert(args.end(), {"-c", f.cc});
  for (const std::string& attachment : attachments) args.insert(args.end(), {"-a", attachment});
  if (kind == MailDialogKind::kPictureOrGift && cc) args.insert(args.end(), {"-c", f.cc});
  return args;
}

std::string PictureAttachmentName(std::string_view name) {
  std::string result(name);
  const bool jpeg = name.size() >= 4 && name[name.size() - 4] == '.' &&
                    std::tolower(static_cast<unsigned char>(name[name.size() - 3])) == 'j' &&
                    std::tolower(static_cast<unsigned char>(name[name.size() - 2])) == 'p' &&
                    std::tolower(static_cast<unsigned char>(name[name.size() - 1])) == 'g';
  if (!jpeg) result += ".jpg";
  return result;
}

}  // namespace quillo
