#!/usr/bin/env bash
# Starts or stops the SMTP server the mail library's Windows tests talk to:
# Debian's aiosmtpd on 127.0.0.1, on a free port written to STATE_DIR/port,
# storing what it receives under STATE_DIR/mail.
#   mail_server.sh start STATE_DIR
#   mail_server.sh stop STATE_DIR
set -u
cmd=$1
state=$2
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3  # the system Python, where python3-aiosmtpd lives

stop_server() {
  if [ -f "$state/server.pid" ]; then
    kill "$(cat "$state/server.pid")" >/dev/null 2>&1 || true
    rm -f "$state/server.pid"
  fi
  rm -f "$state/port"
}

case "$cmd" in
  start)
    mkdir -p "$state"
    stop_server
    rm -rf "$state/mail"
    mkdir -p "$state/mail"
    port=$("$python" -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    PYTHONPATH="$here" setsid "$python" -m aiosmtpd -n -l "127.0.0.1:$port" \
      -c mail_store.MailStore "$state/mail" </dev/null >"$state/server.log" 2>&1 &
    echo $! >"$state/server.pid"
    # Ready when it answers a connection with its greeting.
    for _ in $(seq 1 100); do
      if "$python" - "$port" <<'PY' 2>/dev/null
import socket, sys
with socket.create_connection(("127.0.0.1", int(sys.argv[1])), timeout=1) as s:
    sys.exit(0 if s.recv(3) == b"220" else 1)
PY
      then
        echo "$port" >"$state/port"
        echo "SMTP server on 127.0.0.1:$port"
        exit 0
      fi
      sleep 0.1
    done
    echo "the SMTP server did not start; see $state/server.log" >&2
    stop_server
    exit 1
    ;;
  stop)
    stop_server
    echo "SMTP server stopped"
    ;;
  *)
    echo "usage: $0 start|stop STATE_DIR" >&2
    exit 2
    ;;
esac
