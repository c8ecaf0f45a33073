"""Handler for aiosmtpd used by the mail library's Windows tests.

Every accepted message is decoded with Python's email module and stored in
<folder>/<sender>/: the raw message.eml, envelope.txt (MAIL FROM and every
RCPT TO), headers.txt (header names and decoded values), body.bin (the text
part after transfer decoding) and attachments/<file name>. Recipients whose
mailbox starts with "refused" are turned away with 550.
"""
import email
import email.policy
import os
import re


class MailStore:
    def __init__(self, folder):
        self.folder = folder

    @classmethod
    def from_cli(cls, parser, *args):
        if len(args) != 1:
            parser.error("MailStore needs the folder to store messages in")
        return cls(args[0])

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.split("@")[0].lower().startswith("refused"):
            return "550 5.1.1 Mailbox unavailable"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        raw = envelope.original_content or envelope.content
        name = re.sub(r"[^A-Za-z0-9]", "_", envelope.mail_from or "nobody")
        out = os.path.join(self.folder, name)
        os.makedirs(os.path.join(out, "attachments"), exist_ok=True)
        with open(os.path.join(out, "message.eml"), "wb") as f:
            f.write(raw)
        with open(os.path.join(out, "envelope.txt"), "w", encoding="utf-8") as f:
            f.write("from %s\n" % envelope.mail_from)
            for rcpt in envelope.rcpt_tos:
                f.write("to %s\n" % rcpt)
        message = email.message_from_bytes(raw, policy=email.policy.default)
        with open(os.path.join(out, "headers.txt"), "w", encoding="utf-8") as f:
            for key, value in message.items():
                f.write("%s: %s\n" % (key, value))
        body = message.get_body(preferencelist=("plain",))
        with open(os.path.join(out, "body.bin"), "wb") as f:
            f.write(body.get_payload(decode=True) if body is not None else b"")
        for part in message.iter_attachments():
            file_name = os.path.basename(part.get_filename() or "unnamed")
            with open(os.path.join(out, "attachments", file_name), "wb") as f:
                f.write(part.get_payload(decode=True))
        return "250 Message accepted for delivery"
