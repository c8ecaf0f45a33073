// What the mail dialogs hand the mail library: the argument array of one
// send, and the small rules around it (copy recipients, the picture's
// attachment name, the attachment limit of the raw mail dialog).
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillo {

// The sender's domain stands first in the array; an address without an at
// sign gives this one.
inline constexpr char kPlaceholderMailDomain[] = "quillo.invalid";
inline constexpr size_t kMaxRawAttachments = 64;

struct MailFields {
  std::string server, address, to, cc, subject;
};

// Copy recipients are passed only from 9 characters on: anything shorter
// cannot be a usable list.
bool PassesCopyRecipients(std::string_view cc);

// The part of the sender address after its first at sign, or the
// placeholder domain.
std::string SenderDomain(std::string_view address);

// The array in the library's order: domain, "-b" body file, "-r" To, "-s"
// subject, "-X" server, "-f" / "-R" / "-S" the sender, "-D" "localhost",
// then for the picture and gift dialog "-a" attachment and "-c" Cc, for the
// raw dialog "-c" Cc first and one "-a" per attachment.
enum class MailDialogKind { kPictureOrGift, kRaw };
std::vector<std::string> MailArguments(const MailFields& fields, std::string_view bodyFile,
                                       const std::vector<std::string>& attachments, MailDialogKind kind);

// The file a mailed picture is attached as: the name given, with ".jpg"
// appended unless it already ends in ".jpg" (any case).
std::string PictureAttachmentName(std::string_view name);

}  // namespace quillo
