// Runs the table of calls a pure JavaScript TDS client makes against the engine, one line
// per call: "<call>: ok <result>" or "<call>: error <message>". Usage:
//   node tedious-calls.js <module folder> <port> <encryption>
// where encryption is "default" (the client's own: encrypt everything), "off", or "verify"
// (encrypt, and check the server's certificate, which no authority signed).
'use strict';
const path = require('path');
const [moduleFolder, port, encryption] = process.argv.slice(2);
const { Connection, Request, TYPES } = require(path.join(moduleFolder, 'node_modules', 'tedious'));

function connect(extra) {
    const options = { port: Number(port), requestTimeout: 15000, connectTimeout: 10000 };
    if (encryption === 'off') options.encrypt = false;
    options.trustServerCertificate = encryption !== 'verify';
    Object.assign(options, extra);
    const connection = new Connection({
        server: '127.0.0.1',
        authentication: { type: 'default', options: { userName: 'sa', password: 'tulip' } },
        options,
    });
    return new Promise((resolve, reject) => {
        connection.on('error', () => {});
        connection.connect((error) => (error ? reject(error) : resolve(connection)));
    });
}

// Runs one request the given way; resolves with the first column of every row.
function run(connection, how, sql, parameters = []) {
    return new Promise((resolve, reject) => {
        const values = [];
        const request = new Request(sql, (error) => (error ? reject(error) : resolve(values)));
        for (const [name, type, value] of parameters) request.addParameter(name, type, value);
        request.on('row', (columns) => values.push(columns[0].value));
        connection[how](request);
    });
}

function transaction(connection, step) {
    return new Promise((resolve, reject) =>
        connection[step]((error) => (error ? reject(error) : resolve([]))));
}

function prepared(connection, sql, value) {
    return new Promise((resolve, reject) => {
        const values = [];
        const request = new Request(sql, (error) => { if (error) reject(error); });
        request.addParameter('v', TYPES.Int);
        request.on('row', (columns) => values.push(columns[0].value));
        request.on('prepared', () => {
            const execute = new Request(sql, () => {});
            request.once('requestCompleted', () => {
                connection.unprepare(request);
                request.once('requestCompleted', () => resolve([request.handle > 0, ...values]));
            });
            connection.execute(request, { v: value });
        });
        connection.prepare(request);
    });
}

function cancelled(connection, cancelAt) {
    return new Promise((resolve) => {
        const request = new Request("WAITFOR DELAY '00:00:20'", (error) =>
            resolve([error ? error.code : 'not cancelled']));
        connection.execSql(request);
        if (cancelAt === 'before sending') connection.cancel();
        else setTimeout(() => connection.cancel(), 300);
    });
}

async function main() {
    const calls = [
        ['login', async (c) => [c.config.options.tdsVersion]],
        ['SELECT 1 as RPC', (c) => run(c, 'execSql', 'SELECT 1')],
        ['batch', (c) => run(c, 'execSqlBatch', "SELECT 'text'; SELECT name FROM sys.databases")],
        ['RPC with parameters', (c) => run(c, 'execSql', 'SELECT @number; SELECT @text',
            [['number', TYPES.Int, 42], ['text', TYPES.NVarChar, 'héllo']])],
        ['prepare, execute, unprepare', (c) => prepared(c, 'SELECT @v', 7)],
        ['SET options', (c) => run(c, 'execSqlBatch',
            'SET NOCOUNT ON\nSET ANSI_NULLS ON SET XACT_ABORT ON;SELECT @@TRANCOUNT')],
        ['begin transaction', async (c) => { await transaction(c, 'beginTransaction');
            return run(c, 'execSql', 'SELECT @@TRANCOUNT'); }],
        ['commit', async (c) => { await transaction(c, 'commitTransaction');
            return run(c, 'execSql', 'SELECT @@TRANCOUNT'); }],
        ['rollback', async (c) => { await transaction(c, 'beginTransaction');
            await transaction(c, 'rollbackTransaction');
            return run(c, 'execSql', 'SELECT @@TRANCOUNT'); }],
        ['unsupported statement', (c) => run(c, 'execSql', 'DROP TABLE t')],
        ['cancel before sending', (c) => cancelled(c, 'before sending')],
        ['cancel while running', (c) => cancelled(c, 'while running')],
        ['usable after cancel', (c) => run(c, 'execSql', 'SELECT 2')],
    ];
    let connection;
    try {
        connection = await connect();
    } catch (error) {
        console.log(`login: error ${error.message}`);
        return;
    }
    for (const [name, call] of calls) {
        try {
            console.log(`${name}: ok ${JSON.stringify(await call(connection))}`);
        } catch (error) {
            console.log(`${name}: error ${error.message}`);
        }
    }
    connection.close();
    // A request timeout on a connection of its own: the client cancels, the engine stops.
    const timed = await connect({ requestTimeout: 1000 });
    try {
        await run(timed, 'execSql', "WAITFOR DELAY '00:00:20'");
        console.log('timeout: ok not timed out');
    } catch (error) {
        console.log(`timeout: error ${error.code}`);
    }
    console.log(`usable after timeout: ok ${JSON.stringify(await run(timed, 'execSql', 'SELECT 3'))}`);
    timed.close();
}

main().catch((error) => { console.log(`failed: ${error.stack}`); process.exitCode = 1; });
